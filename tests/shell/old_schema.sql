-- A database as an early version of the program left it: none of the columns
-- and generators the version control adds, and no goods table yet.
CREATE TABLE userp (id NUMERIC(18,0) NOT NULL PRIMARY KEY, login VARCHAR(50), passw VARCHAR(50), fam VARCHAR(40), im VARCHAR(40), ot VARCHAR(40), uroven INTEGER);
CREATE TABLE obuser (id NUMERIC(18,0) NOT NULL PRIMARY KEY, iduser NUMERIC(18,0), timestart TIMESTAMP, timeend TIMESTAMP, datstart TIMESTAMP);
CREATE TABLE config (mes INTEGER, god INTEGER);
CREATE TABLE config2 (name VARCHAR(100), numscet NUMERIC(18,2), fontname VARCHAR(20));
CREATE TABLE oper (id NUMERIC(18,0) NOT NULL PRIMARY KEY, ttype INTEGER, ttype2 INTEGER, dat DATE, summa NUMERIC(18,2));
CREATE TABLE gruppat (id NUMERIC(18,0) NOT NULL PRIMARY KEY, name VARCHAR(100), name2 VARCHAR(100), idrazdel NUMERIC(18,0), usl INTEGER);
CREATE GENERATOR deti;
CREATE GENERATOR obuser;
INSERT INTO userp (id, login, passw, uroven) VALUES (1, 'user1', '', 1);
INSERT INTO config (mes, god) VALUES (3, 2021);
INSERT INTO config2 (name, numscet, fontname) VALUES ('', 1, '20.05');
INSERT INTO oper (id, ttype, ttype2, dat, summa) VALUES (1, 4, 0, '01.02.2021', 10);
INSERT INTO gruppat (id, name, name2, idrazdel, usl) VALUES (0, '', '', 0, 0);
