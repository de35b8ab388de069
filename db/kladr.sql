-- The address classifier database: regions, districts, towns, settlements, streets.
-- Each statement ends with ";" at the end of a line; "--" starts a comment line.

CREATE TABLE region (
    region NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    CONSTRAINT pk_region PRIMARY KEY (region)
);

CREATE TABLE rayon (
    rayon NUMERIC(18,0) NOT NULL,
    region NUMERIC(18,0),
    name VARCHAR(100)
);

CREATE TABLE gorod (
    gorod NUMERIC(18,0) NOT NULL,
    region NUMERIC(18,0),
    rayon NUMERIC(18,0),
    name VARCHAR(100),
    pindex2 VARCHAR(6)
);

CREATE TABLE npunkt (
    npunkt NUMERIC(18,0) NOT NULL,
    region NUMERIC(18,0),
    rayon NUMERIC(18,0),
    gorod NUMERIC(18,0),
    name VARCHAR(100),
    pindex VARCHAR(6)
);

CREATE TABLE ulica (
    region NUMERIC(18,0),
    rayon NUMERIC(18,0),
    gorod NUMERIC(18,0),
    npunkt NUMERIC(18,0),
    name VARCHAR(100),
    pindex VARCHAR(6)
);

CREATE INDEX ix_rayon_region ON rayon (region);
CREATE INDEX ix_gorod_region_rayon ON gorod (region, rayon);
CREATE INDEX ix_npunkt_region_rayon_gorod ON npunkt (region, rayon, gorod);
CREATE INDEX ix_ulica_place ON ulica (region, rayon, gorod, npunkt);
