-- Brisklane contact database: tables and generators.
-- The database is created with default character set WIN1251, so every text column
-- holds Windows Cyrillic text; a text n column is VARCHAR(n).
-- Statements end with ';'. The creation tool runs them in order and commits after each
-- COMMIT line; this file must stay readable by isql-fb too (it holds only ASCII).

CREATE TABLE LISTGROUPS (
  ID   INTEGER NOT NULL,
  NAME VARCHAR(100) NOT NULL,
  CONSTRAINT PK_LISTGROUPS PRIMARY KEY (ID)
);

-- The column order is significant: columns 1..12 are the contacts grid columns and
-- the RB_FIELDS rows describe them in this order; ID, IDGROUP and IDMESSAGE are never shown.
CREATE TABLE CONTACTS (
  PHONE     VARCHAR(20),
  NAME      VARCHAR(50),
  BIRTHDATE DATE,
  DFIELD    VARCHAR(100),
  EFIELD    VARCHAR(100),
  FFIELD    VARCHAR(100),
  GFIELD    VARCHAR(100),
  SEND      INTEGER,
  DATESEND  DATE,
  TIMESEND  TIME,
  PARTSEND  INTEGER,
  FERROR    INTEGER,
  ID        INTEGER NOT NULL,
  IDGROUP   INTEGER,
  IDMESSAGE INTEGER,
  CONSTRAINT PK_CONTACTS PRIMARY KEY (ID),
  -- Deleting a group deletes its contacts: the program itself deletes only the group row,
  -- after a second confirmation that warns the operator the group still has contacts.
  -- The constraint's index IX_CONTACTS_IDGROUP serves the contacts-of-a-group reads.
  CONSTRAINT FK_CONTACTS_GROUP FOREIGN KEY (IDGROUP) REFERENCES LISTGROUPS (ID)
    ON DELETE CASCADE USING INDEX IX_CONTACTS_IDGROUP
);

CREATE TABLE TEMPLATE (
  FTEXT VARCHAR(2000),
  ID    INTEGER NOT NULL,
  NAME  VARCHAR(100) NOT NULL,
  CONSTRAINT PK_TEMPLATE PRIMARY KEY (ID)
);

CREATE TABLE LISTFILT (
  ID   INTEGER NOT NULL,
  FILT VARCHAR(500) NOT NULL,
  NAME VARCHAR(30) NOT NULL,
  CONSTRAINT PK_LISTFILT PRIMARY KEY (ID)
);

-- Descriptors of the twelve contacts grid columns. The program reads them with a select
-- that has no ORDER BY and relies on getting them in ID order. That holds because:
--  * the rows are inserted once, in ID order, into this fresh table (seed.sql), so their
--    record numbers - the order of a natural scan - follow ID;
--  * the program never inserts or deletes rows here; it only updates FVISIBLE, and an
--    update keeps the record in its place (the old version moves to a back version).
-- A test updates FVISIBLE on every row many times and checks the order still holds.
CREATE TABLE RB_FIELDS (
  FORTEMP  VARCHAR(10) NOT NULL,
  FTYPE    INTEGER NOT NULL,
  FVISIBLE INTEGER,
  FWIDTH   INTEGER,
  ID       INTEGER NOT NULL,
  NAMEDISP VARCHAR(30) NOT NULL,
  NAMEDS   VARCHAR(20) NOT NULL,
  TEMPL    INTEGER NOT NULL,
  CONSTRAINT PK_RB_FIELDS PRIMARY KEY (ID)
);

-- The filter builder gives each operator its meaning by position, so the five rows are
-- inserted once in that order and never changed (same natural-order argument as RB_FIELDS).
CREATE TABLE RB_OPER (
  FTYPE INTEGER NOT NULL,
  ID    INTEGER NOT NULL,
  NAME  VARCHAR(30) NOT NULL,
  CONSTRAINT PK_RB_OPER PRIMARY KEY (ID)
);

CREATE TABLE RB_OPTIONS (
  GSMLOG     INTEGER,
  GSMTIME    INTEGER,
  ID         INTEGER NOT NULL,
  LOGFILE    VARCHAR(200),
  SHBLANCE   DOUBLE PRECISION,
  SHFROM     VARCHAR(30),
  SHLOGIN    VARCHAR(30),
  SHPASSWORD VARCHAR(30),
  COMBIT     INTEGER,
  COMCONTROL INTEGER,
  COMPARITY  INTEGER,
  COMRATE    INTEGER,
  COMSTOPBIT INTEGER,
  EMLOGIN    VARCHAR(30),
  EMPASS     VARCHAR(30),
  EMPOP      VARCHAR(30),
  CONSTRAINT PK_RB_OPTIONS PRIMARY KEY (ID)
);

-- New keys are taken with GEN_ID(name, 1) when a row is created; cancelled rows leave gaps.
CREATE GENERATOR GEN_LISTGROUPS_ID;
CREATE GENERATOR GEN_CONTACTS_ID;
CREATE GENERATOR GEN_TEMPLATE_ID;
CREATE GENERATOR GEN_LISTFILT_ID;
CREATE GENERATOR GEN_RB_OPTIONS_ID;

COMMIT;
