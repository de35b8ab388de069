-- The initial database of TEVO Склад: every table, the generators, the rows
-- with id 0 that stand for "none", the settings rows and the first user.
-- Each statement ends with ";" at the end of a line; "--" starts a comment line.

CREATE TABLE userp (
    id NUMERIC(18,0) NOT NULL,
    login VARCHAR(50),
    passw VARCHAR(50),
    fam VARCHAR(40),
    im VARCHAR(40),
    ot VARCHAR(40),
    uroven INTEGER,
    CONSTRAINT pk_userp PRIMARY KEY (id)
);

CREATE TABLE obuser (
    id NUMERIC(18,0) NOT NULL,
    iduser NUMERIC(18,0),
    timestart TIMESTAMP,
    timeend TIMESTAMP,
    datstart TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
    CONSTRAINT pk_obuser PRIMARY KEY (id)
);

CREATE TABLE config (
    mes INTEGER,
    god INTEGER,
    org VARCHAR(100),
    kod1 VARCHAR(10),
    kod2 VARCHAR(10),
    kod3 VARCHAR(10),
    kod4 VARCHAR(10),
    kod5 VARCHAR(10),
    kod6 VARCHAR(10),
    vkod1 VARCHAR(10),
    vkod2 VARCHAR(10),
    vkod3 VARCHAR(10),
    vkod4 VARCHAR(10),
    invpref VARCHAR(20),
    invnum NUMERIC(18,0),
    invsuf VARCHAR(20)
);

CREATE TABLE config2 (
    name VARCHAR(100),
    inn VARCHAR(20),
    kpp VARCHAR(20),
    adres VARCHAR(100),
    adres2 VARCHAR(100),
    phone VARCHAR(50),
    ogrn VARCHAR(25),
    rukovod VARCHAR(60),
    doljnruk VARCHAR(60),
    glbuh VARCHAR(60),
    kassir VARCHAR(60),
    bank VARCHAR(100),
    bik VARCHAR(30),
    ksc VARCHAR(30),
    rsc VARCHAR(30),
    gorod VARCHAR(30),
    vlice VARCHAR(100),
    vliced VARCHAR(100),
    vlicefio VARCHAR(100),
    numscet NUMERIC(18,2),
    numakt NUMERIC(18,2),
    numscf NUMERIC(18,2),
    oplata1 NUMERIC(12,2),
    oplata2 NUMERIC(12,2),
    opengruppa NUMERIC(12,2),
    fontname VARCHAR(20),
    svyvod CHAR(100),
    atoldir CHAR(200),
    atolfname CHAR(20)
);

CREATE TABLE filearchiv (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    idkand NUMERIC(18,0),
    filename VARCHAR(255),
    note VARCHAR(255),
    fsize VARCHAR(30),
    POLETEXT BLOB SUB_TYPE 0,
    CONSTRAINT pk_filearchiv PRIMARY KEY (id)
);

CREATE TABLE org (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_org PRIMARY KEY (id)
);

CREATE TABLE tt (
    id NUMERIC(18,0) NOT NULL,
    idorg NUMERIC(18,0),
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_tt PRIMARY KEY (id)
);

CREATE TABLE pod (
    id NUMERIC(18,0) NOT NULL,
    idtt NUMERIC(18,0),
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_pod PRIMARY KEY (id)
);

CREATE TABLE kart (
    id NUMERIC(18,0) NOT NULL,
    fam VARCHAR(30),
    im VARCHAR(30),
    ot VARCHAR(30),
    fio2 VARCHAR(100),
    doljnost VARCHAR(100),
    idpod NUMERIC(18,0),
    sum5 NUMERIC(18,2),
    sum6 NUMERIC(18,2),
    birthday DATE,
    datstaj DATE,
    tuvoln INTEGER,
    datuvoln DATE,
    pricina VARCHAR(200),
    dprikaz DATE,
    nprikaz VARCHAR(30),
    dprikaz2 DATE,
    nprikaz2 VARCHAR(30),
    pol VARCHAR(1),
    phone VARCHAR(50),
    phone2 VARCHAR(50),
    email VARCHAR(100),
    obraz VARCHAR(200),
    adres VARCHAR(250),
    adres2 VARCHAR(250),
    datreg DATE,
    strana VARCHAR(60),
    inn VARCHAR(20),
    npfr VARCHAR(20),
    kontur INTEGER,
    vysluga INTEGER,
    ig INTEGER,
    note VARCHAR(2000),
    ser1 VARCHAR(10),
    pass VARCHAR(20),
    vydan VARCHAR(200),
    datvyd DATE,
    koddoc VARCHAR(5),
    nls NUMERIC(18,0),
    nday NUMERIC(18,2),
    nday2 NUMERIC(18,2),
    nday3 NUMERIC(18,2),
    CONSTRAINT pk_kart PRIMARY KEY (id)
);

CREATE TABLE dog (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    idpod NUMERIC(18,0),
    num VARCHAR(30),
    doljn VARCHAR(100),
    dat DATE,
    datend DATE,
    tarif NUMERIC(18,2),
    tarif2 NUMERIC(18,2),
    tarif3 NUMERIC(18,2),
    norma4 NUMERIC(18,2),
    ttype INTEGER,
    tvyvod INTEGER,
    tclose INTEGER,
    nls NUMERIC(18,0),
    CONSTRAINT pk_dog PRIMARY KEY (id)
);

CREATE TABLE history (
    id NUMERIC(18,0) NOT NULL,
    iddog NUMERIC(18,0),
    dat DATE,
    tarif NUMERIC(18,2),
    tarif2 NUMERIC(18,2),
    tarif3 NUMERIC(18,2),
    tarif4 NUMERIC(18,2),
    ntarif NUMERIC(18,2),
    ntarif2 NUMERIC(18,2),
    ntarif3 NUMERIC(18,2),
    ntarif4 NUMERIC(18,2),
    CONSTRAINT pk_history PRIMARY KEY (id)
);

CREATE TABLE doljnost (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_doljnost PRIMARY KEY (id)
);

CREATE TABLE deti (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    name VARCHAR(100),
    birthday DATE,
    CONSTRAINT pk_deti PRIMARY KEY (id)
);

CREATE TABLE patent (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    ser VARCHAR(10),
    num VARCHAR(20),
    dat DATE,
    datend DATE,
    tclose INTEGER,
    CONSTRAINT pk_patent PRIMARY KEY (id)
);

CREATE TABLE patobrt (
    id NUMERIC(18,0) NOT NULL,
    idpat NUMERIC(18,0),
    dat DATE,
    datstart DATE,
    datend DATE,
    CONSTRAINT pk_patobrt PRIMARY KEY (id)
);

CREATE TABLE med (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    typemed INTEGER,
    ser VARCHAR(10),
    num VARCHAR(20),
    dat DATE,
    datend DATE,
    dkomis DATE,
    tclose INTEGER,
    summa NUMERIC(18,2),
    proc NUMERIC(18,2),
    mes INTEGER,
    CONSTRAINT pk_med PRIMARY KEY (id)
);

CREATE TABLE strana (
    kod VARCHAR(3) NOT NULL,
    name VARCHAR(60),
    CONSTRAINT pk_strana PRIMARY KEY (kod)
);

CREATE TABLE cen (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    CONSTRAINT pk_cen PRIMARY KEY (id)
);

CREATE TABLE cenob (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    idcen NUMERIC(18,0),
    datvyd DATE,
    datsdal DATE,
    tclose INTEGER,
    CONSTRAINT pk_cenob PRIMARY KEY (id)
);

CREATE TABLE otpusk (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    typer INTEGER,
    d1 DATE,
    d2 DATE,
    note VARCHAR(200),
    dprikaz DATE,
    nprikaz VARCHAR(30),
    summa NUMERIC(18,2),
    CONSTRAINT pk_otpusk PRIMARY KEY (id)
);

CREATE TABLE kandidat (
    id NUMERIC(18,0) NOT NULL,
    fam VARCHAR(30),
    im VARCHAR(30),
    ot VARCHAR(30),
    fio2 VARCHAR(100),
    birthday DATE,
    phone VARCHAR(50),
    dat DATE,
    iddoljn NUMERIC(18,0),
    idistok NUMERIC(18,0),
    resultat INTEGER,
    status INTEGER,
    resume1 VARCHAR(2000),
    resume2 VARCHAR(2000),
    datstaj DATE,
    datstaj2 DATE,
    pricina VARCHAR(200),
    stavka0 NUMERIC(18,2),
    rpo VARCHAR(500),
    note VARCHAR(2000),
    CONSTRAINT pk_kandidat PRIMARY KEY (id)
);

CREATE TABLE sprkand (
    id NUMERIC(18,0) NOT NULL,
    ttype INTEGER,
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_sprkand PRIMARY KEY (id)
);

CREATE TABLE tabel (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    idpod NUMERIC(18,0),
    mes INTEGER,
    god INTEGER,
    tvyvod INTEGER,
    doljn VARCHAR(100),
    tarif NUMERIC(18,2),
    tarif2 NUMERIC(18,2),
    tarif3 NUMERIC(18,2),
    norma4 NUMERIC(18,2),
    N1 NUMERIC(18,2),
    N2 NUMERIC(18,2),
    N3 NUMERIC(18,2),
    N4 NUMERIC(18,2),
    N5 NUMERIC(18,2),
    N6 NUMERIC(18,2),
    N7 NUMERIC(18,2),
    N8 NUMERIC(18,2),
    N9 NUMERIC(18,2),
    N10 NUMERIC(18,2),
    N11 NUMERIC(18,2),
    N12 NUMERIC(18,2),
    N13 NUMERIC(18,2),
    N14 NUMERIC(18,2),
    N15 NUMERIC(18,2),
    N16 NUMERIC(18,2),
    N17 NUMERIC(18,2),
    N18 NUMERIC(18,2),
    N19 NUMERIC(18,2),
    N20 NUMERIC(18,2),
    N21 NUMERIC(18,2),
    N22 NUMERIC(18,2),
    N23 NUMERIC(18,2),
    N24 NUMERIC(18,2),
    N25 NUMERIC(18,2),
    N26 NUMERIC(18,2),
    N27 NUMERIC(18,2),
    N28 NUMERIC(18,2),
    N29 NUMERIC(18,2),
    N30 NUMERIC(18,2),
    N31 NUMERIC(18,2),
    KOD1 VARCHAR(5),
    KOD2 VARCHAR(5),
    KOD3 VARCHAR(5),
    KOD4 VARCHAR(5),
    KOD5 VARCHAR(5),
    KOD6 VARCHAR(5),
    KOD7 VARCHAR(5),
    KOD8 VARCHAR(5),
    KOD9 VARCHAR(5),
    KOD10 VARCHAR(5),
    KOD11 VARCHAR(5),
    KOD12 VARCHAR(5),
    KOD13 VARCHAR(5),
    KOD14 VARCHAR(5),
    KOD15 VARCHAR(5),
    KOD16 VARCHAR(5),
    KOD17 VARCHAR(5),
    KOD18 VARCHAR(5),
    KOD19 VARCHAR(5),
    KOD20 VARCHAR(5),
    KOD21 VARCHAR(5),
    KOD22 VARCHAR(5),
    KOD23 VARCHAR(5),
    KOD24 VARCHAR(5),
    KOD25 VARCHAR(5),
    KOD26 VARCHAR(5),
    KOD27 VARCHAR(5),
    KOD28 VARCHAR(5),
    KOD29 VARCHAR(5),
    KOD30 VARCHAR(5),
    KOD31 VARCHAR(5),
    M1 NUMERIC(18,2),
    M2 NUMERIC(18,2),
    M3 NUMERIC(18,2),
    M4 NUMERIC(18,2),
    M5 NUMERIC(18,2),
    M6 NUMERIC(18,2),
    M7 NUMERIC(18,2),
    M8 NUMERIC(18,2),
    M9 NUMERIC(18,2),
    M10 NUMERIC(18,2),
    M11 NUMERIC(18,2),
    M12 NUMERIC(18,2),
    M13 NUMERIC(18,2),
    M14 NUMERIC(18,2),
    M15 NUMERIC(18,2),
    M16 NUMERIC(18,2),
    M17 NUMERIC(18,2),
    M18 NUMERIC(18,2),
    M19 NUMERIC(18,2),
    M20 NUMERIC(18,2),
    M21 NUMERIC(18,2),
    M22 NUMERIC(18,2),
    M23 NUMERIC(18,2),
    M24 NUMERIC(18,2),
    M25 NUMERIC(18,2),
    M26 NUMERIC(18,2),
    M27 NUMERIC(18,2),
    M28 NUMERIC(18,2),
    M29 NUMERIC(18,2),
    M30 NUMERIC(18,2),
    M31 NUMERIC(18,2),
    DKOD1 VARCHAR(5),
    DKOD2 VARCHAR(5),
    DKOD3 VARCHAR(5),
    DKOD4 VARCHAR(5),
    DKOD5 VARCHAR(5),
    DKOD6 VARCHAR(5),
    DKOD7 VARCHAR(5),
    DKOD8 VARCHAR(5),
    DKOD9 VARCHAR(5),
    DKOD10 VARCHAR(5),
    DKOD11 VARCHAR(5),
    DKOD12 VARCHAR(5),
    DKOD13 VARCHAR(5),
    DKOD14 VARCHAR(5),
    DKOD15 VARCHAR(5),
    DKOD16 VARCHAR(5),
    DKOD17 VARCHAR(5),
    DKOD18 VARCHAR(5),
    DKOD19 VARCHAR(5),
    DKOD20 VARCHAR(5),
    DKOD21 VARCHAR(5),
    DKOD22 VARCHAR(5),
    DKOD23 VARCHAR(5),
    DKOD24 VARCHAR(5),
    DKOD25 VARCHAR(5),
    DKOD26 VARCHAR(5),
    DKOD27 VARCHAR(5),
    DKOD28 VARCHAR(5),
    DKOD29 VARCHAR(5),
    DKOD30 VARCHAR(5),
    DKOD31 VARCHAR(5),
    dayotr NUMERIC(18,2),
    itogo NUMERIC(18,2),
    dayotr1 NUMERIC(18,2),
    casotr1 NUMERIC(18,2),
    summa NUMERIC(18,2),
    summa2 NUMERIC(18,2),
    sdeln NUMERIC(18,2),
    sdelt NUMERIC(18,2),
    sdelk NUMERIC(18,2),
    procee NUMERIC(18,2),
    boln NUMERIC(18,2),
    otpusk NUMERIC(18,2),
    plus NUMERIC(18,2),
    avans NUMERIC(18,2),
    gsm NUMERIC(18,2),
    tekvyp NUMERIC(18,2),
    nalog NUMERIC(18,2),
    minus NUMERIC(18,2),
    idn1 NUMERIC(18,0),
    idn2 NUMERIC(18,0),
    idn3 NUMERIC(18,0),
    idn4 NUMERIC(18,0),
    idn5 NUMERIC(18,0),
    idn6 NUMERIC(18,0),
    idv1 NUMERIC(18,0),
    idv2 NUMERIC(18,0),
    idv3 NUMERIC(18,0),
    idv4 NUMERIC(18,0),
    CONSTRAINT pk_tabel PRIMARY KEY (id)
);

CREATE TABLE daysdeln (
    id NUMERIC(18,0) NOT NULL,
    idkart NUMERIC(18,0),
    idpod NUMERIC(18,0),
    dat DATE,
    kolvo NUMERIC(18,2),
    CONSTRAINT pk_daysdeln PRIMARY KEY (id)
);

CREATE TABLE zakrgod (
    god INTEGER NOT NULL,
    zakr INTEGER,
    CONSTRAINT pk_zakrgod PRIMARY KEY (god)
);

CREATE TABLE tovar (
    id NUMERIC(18,0) NOT NULL,
    name CHAR(101),
    name2 CHAR(101),
    kod VARCHAR(50),
    kod2 VARCHAR(50),
    kod5 CHAR(25),
    kod52 CHAR(25),
    atolkod CHAR(25),
    ATOLOK CHAR(1),
    edizm VARCHAR(20),
    cenar NUMERIC(18,2),
    stnds NUMERIC(18,2),
    usl INTEGER,
    idgruppa NUMERIC(18,0),
    price INTEGER,
    CONSTRAINT pk_tovar PRIMARY KEY (id)
);

CREATE TABLE gruppat (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    idrazdel NUMERIC(18,0),
    usl INTEGER,
    ATOLOK CHAR(1),
    CONSTRAINT pk_gruppat PRIMARY KEY (id)
);

CREATE TABLE razdel (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_razdel PRIMARY KEY (id)
);

CREATE TABLE sklad (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_sklad PRIMARY KEY (id)
);

CREATE TABLE sobstv (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_sobstv PRIMARY KEY (id)
);

CREATE TABLE oplata (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    CONSTRAINT pk_oplata PRIMARY KEY (id)
);

CREATE TABLE post (
    id NUMERIC(18,0) NOT NULL,
    name VARCHAR(100),
    name2 VARCHAR(100),
    inn VARCHAR(20),
    kpp VARCHAR(20),
    adres VARCHAR(100),
    adres2 VARCHAR(100),
    adres3 VARCHAR(100),
    phone VARCHAR(50),
    ogrn VARCHAR(25),
    rukovod VARCHAR(60),
    doljnruk VARCHAR(60),
    glbuh VARCHAR(60),
    bank VARCHAR(100),
    bik VARCHAR(30),
    ksc VARCHAR(30),
    rsc VARCHAR(30),
    vlice VARCHAR(100),
    vliced VARCHAR(100),
    vlicefio VARCHAR(100),
    CONSTRAINT pk_post PRIMARY KEY (id)
);

CREATE TABLE cenar (
    id NUMERIC(18,0) NOT NULL,
    dat DATE,
    idtovar NUMERIC(18,0),
    oldcenar NUMERIC(18,2),
    oldstnds NUMERIC(18,2),
    newcenar NUMERIC(18,2),
    newstnds NUMERIC(18,2),
    CONSTRAINT pk_cenar PRIMARY KEY (id)
);

CREATE TABLE oper (
    id NUMERIC(18,0) NOT NULL,
    ttype INTEGER,
    ttype2 INTEGER,
    dat DATE,
    idpost NUMERIC(18,0),
    prodavec NUMERIC(18,0),
    oplata NUMERIC(18,0),
    oplaceno INTEGER,
    summa NUMERIC(18,2),
    note VARCHAR(500),
    note2 VARCHAR(500),
    numdok VARCHAR(30),
    datdok DATE,
    idsklad NUMERIC(12,2),
    idsklad2 NUMERIC(12,2),
    oprix NUMERIC(12,2),
    idprodaj NUMERIC(18,0),
    nsc VARCHAR(30),
    dsc DATE,
    psc INTEGER,
    nscf VARCHAR(30),
    dscf DATE,
    pscf INTEGER,
    CONSTRAINT pk_oper PRIMARY KEY (id)
);

CREATE TABLE obrt (
    id NUMERIC(18,0) NOT NULL,
    idtovar NUMERIC(18,0),
    ttype INTEGER,
    idoper NUMERIC(18,0),
    dat DATE,
    dokum VARCHAR(50),
    idpost NUMERIC(18,0),
    idsobstv NUMERIC(18,0),
    kolvo NUMERIC(18,2),
    cena NUMERIC(18,2),
    stnds NUMERIC(18,2),
    note VARCHAR(500),
    strana VARCHAR(60),
    stranakod VARCHAR(10),
    ntd VARCHAR(50),
    model VARCHAR(100),
    sernum VARCHAR(100),
    invnum VARCHAR(50),
    idsklad NUMERIC(18,0),
    idmol NUMERIC(18,0),
    idsklad2 NUMERIC(18,0),
    idmol2 NUMERIC(18,0),
    plus NUMERIC(18,2),
    minus NUMERIC(18,2),
    perem1 NUMERIC(18,2),
    oi NUMERIC(18,2),
    idsklad1 NUMERIC(18,0),
    oi1 NUMERIC(18,2),
    CONSTRAINT pk_obrt PRIMARY KEY (id)
);

CREATE TABLE obrt2 (
    id NUMERIC(18,0) NOT NULL,
    idobrt NUMERIC(18,0),
    idoper NUMERIC(18,0),
    ttype INTEGER,
    idsklad NUMERIC(18,0),
    idmol NUMERIC(18,0),
    idsklad2 NUMERIC(18,0),
    idmol2 NUMERIC(18,0),
    kolvo NUMERIC(18,2),
    dat DATE,
    cenap NUMERIC(18,2),
    ndsp NUMERIC(18,2),
    idprodaj NUMERIC(18,0),
    note VARCHAR(500),
    dokum VARCHAR(50),
    kac VARCHAR(100),
    CONSTRAINT pk_obrt2 PRIMARY KEY (id)
);

CREATE TABLE foi (
    idobrt NUMERIC(18,0),
    idsklad NUMERIC(18,0),
    plus NUMERIC(18,2),
    minus NUMERIC(18,2),
    prod NUMERIC(18,2),
    perem1 NUMERIC(18,2),
    perem2 NUMERIC(18,2),
    oi NUMERIC(18,2)
);

CREATE TABLE oboplata (
    id NUMERIC(18,0) NOT NULL,
    dat DATE,
    summa NUMERIC(18,2),
    ttype INTEGER,
    idoper NUMERIC(18,0),
    idpost NUMERIC(18,0),
    oplata NUMERIC(18,0),
    numdoc VARCHAR(30),
    datdoc DATE,
    CONSTRAINT pk_oboplata PRIMARY KEY (id)
);

CREATE TABLE invent (
    id NUMERIC(18,0) NOT NULL,
    idsklad NUMERIC(18,0),
    idmol NUMERIC(18,0),
    dat DATE,
    dokum VARCHAR(50),
    note VARCHAR(500),
    summa NUMERIC(18,2),
    summa2 NUMERIC(18,2),
    CONSTRAINT pk_invent PRIMARY KEY (id)
);

CREATE TABLE invobrt (
    id NUMERIC(18,0) NOT NULL,
    idinvent NUMERIC(18,0),
    idt NUMERIC(18,0),
    ids NUMERIC(18,0),
    kolvo NUMERIC(18,2),
    kolvo2 NUMERIC(18,2),
    cena NUMERIC(18,2),
    summa NUMERIC(18,2),
    summa2 NUMERIC(18,2),
    CONSTRAINT pk_invobrt PRIMARY KEY (id)
);

CREATE GENERATOR deti;
CREATE GENERATOR kart;
CREATE GENERATOR org;
CREATE GENERATOR tt;
CREATE GENERATOR pod;
CREATE GENERATOR dog;
CREATE GENERATOR cen;
CREATE GENERATOR med;
CREATE GENERATOR patent;
CREATE GENERATOR patobrt;
CREATE GENERATOR tabel;
CREATE GENERATOR obuser;
CREATE GENERATOR atol;

CREATE INDEX ix_obrt2_idobrt ON obrt2 (idobrt);
CREATE INDEX ix_obrt2_idoper ON obrt2 (idoper);
CREATE INDEX ix_obrt2_idsklad ON obrt2 (idsklad);
CREATE INDEX ix_obrt2_idsklad2 ON obrt2 (idsklad2);
CREATE INDEX ix_obrt2_idmol ON obrt2 (idmol);
CREATE INDEX ix_obrt2_idmol2 ON obrt2 (idmol2);
CREATE INDEX ix_obrt2_idprodaj ON obrt2 (idprodaj);
CREATE INDEX ix_obrt2_ttype_dat ON obrt2 (ttype,dat);
CREATE INDEX ix_obrt_idoper ON obrt (idoper);
CREATE INDEX ix_obrt_idtovar ON obrt (idtovar);
CREATE INDEX ix_foi_idobrt ON foi (idobrt);
CREATE INDEX ix_oboplata_idoper ON oboplata (idoper);
CREATE INDEX ix_oper_ttype_ttype2_dat ON oper (ttype,ttype2,dat);
CREATE INDEX ix_oper_idpost ON oper (idpost);
CREATE INDEX ix_tovar_idgruppa ON tovar (idgruppa);
CREATE INDEX ix_tovar_name2 ON tovar (name2);
CREATE INDEX ix_tovar_kod2 ON tovar (kod2);
CREATE INDEX ix_gruppat_idrazdel ON gruppat (idrazdel);
CREATE INDEX ix_cenar_idtovar ON cenar (idtovar);
CREATE INDEX ix_invobrt_idinvent ON invobrt (idinvent);
CREATE INDEX ix_dog_idkart ON dog (idkart);
CREATE INDEX ix_tabel_idkart ON tabel (idkart);
CREATE INDEX ix_tabel_god_mes ON tabel (god,mes);
CREATE INDEX ix_obuser_iduser ON obuser (iduser);
CREATE INDEX ix_filearchiv_idkart ON filearchiv (idkart);
CREATE INDEX ix_filearchiv_idkand ON filearchiv (idkand);
CREATE INDEX ix_kart_fio2 ON kart (fio2);
CREATE UNIQUE INDEX ux_foi_idobrt_idsklad ON foi (idobrt, idsklad);

-- Rows with id 0 mean "none"; lists join them with inner joins.
INSERT INTO tovar (id, name, name2, kod, kod2, edizm, cenar, stnds, usl, idgruppa, price) VALUES (0, '', '', '', '', '', 0, 0, 0, 0, 0);
INSERT INTO gruppat (id, name, name2, idrazdel, usl) VALUES (0, '', '', 0, 0);
INSERT INTO razdel (id, name, name2) VALUES (0, '', '');
INSERT INTO sklad (id, name, name2) VALUES (0, '', '');
INSERT INTO sobstv (id, name, name2) VALUES (0, '', '');
INSERT INTO oplata (id, name, name2) VALUES (0, '', '');
INSERT INTO post (id, name, name2) VALUES (0, '', '');
INSERT INTO kart (id, fam, im, ot, fio2, doljnost, idpod, tuvoln, nday) VALUES (0, '', '', '', '', '', 0, 0, 28);

-- The default payment kinds of new sales (1946) and new receipts (1947).
INSERT INTO oplata (id, name, name2) VALUES (1946, 'Наличный расчет', 'НАЛИЧНЫЙ РАСЧЕТ');
INSERT INTO oplata (id, name, name2) VALUES (1947, 'Безналичный расчет', 'БЕЗНАЛИЧНЫЙ РАСЧЕТ');

INSERT INTO config (mes, god, org, invnum) VALUES (1, 2019, '', 1);
INSERT INTO config2 (name, numscet, numakt, numscf, oplata1, oplata2, opengruppa, fontname, svyvod, atoldir, atolfname)
VALUES ('', 1, 1, 1, 1947, 1946, 1, '22.01', '', '', '');

INSERT INTO userp (id, login, passw, fam, im, ot, uroven) VALUES (1, 'user1', '', '', '', '', 1);

-- New ids start above the rows made here.
SET GENERATOR deti TO 2000;
SET GENERATOR kart TO 2;
