-- Fixed reference rows. Inserted in ID order into the fresh tables (see schema.sql for
-- why the order matters). Holds only ASCII.

-- ID k describes the k-th contacts grid column. NAMEDISP is the key of the display name
-- in section [Fields] of the language files; FORTEMP is the template placeholder.
-- FTYPE: 0 text, 1 date, 2 integer, 3 time. FWIDTH: starting grid width, 0 = default.
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (1, 'PHONE', 'fPhone', '[TEL]', 1, 1, 0, 109);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (2, 'NAME', 'fName', '[NAM]', 1, 1, 0, 123);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (3, 'BIRTHDATE', 'fBirthDate', '[BIR]', 1, 1, 1, 0);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (4, 'DFIELD', 'fField1', '[FL1]', 1, 1, 0, 124);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (5, 'EFIELD', 'fField2', '[FL2]', 1, 1, 0, 98);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (6, 'FFIELD', 'fField3', '[FL3]', 1, 1, 0, 95);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (7, 'GFIELD', 'fField4', '[FL4]', 1, 1, 0, 92);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (8, 'SEND', 'fSend', '[SND]', 0, 1, 2, 89);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (9, 'DATESEND', 'fDateSend', '[DTS]', 0, 1, 1, 86);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (10, 'TIMESEND', 'fTimeSend', '[TMS]', 0, 1, 3, 87);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (11, 'PARTSEND', 'fPartSend', '[PRT]', 0, 1, 2, 0);
INSERT INTO RB_FIELDS (ID, NAMEDS, NAMEDISP, FORTEMP, TEMPL, FVISIBLE, FTYPE, FWIDTH) VALUES (12, 'FERROR', 'fError', '[ERR]', 0, 1, 2, 0);

-- The filter builder gives an operator its meaning by position: equal, not equal,
-- contains, greater, less. NAME is the key in section [Operations] of the language files.
INSERT INTO RB_OPER (ID, NAME, FTYPE) VALUES (1, 'opEqual', 0);
INSERT INTO RB_OPER (ID, NAME, FTYPE) VALUES (2, 'opNotEqual', 0);
INSERT INTO RB_OPER (ID, NAME, FTYPE) VALUES (3, 'opContains', 0);
INSERT INTO RB_OPER (ID, NAME, FTYPE) VALUES (4, 'opGreater', 0);
INSERT INTO RB_OPER (ID, NAME, FTYPE) VALUES (5, 'opLess', 0);

-- The single options row; the generator is set past its key.
INSERT INTO RB_OPTIONS (ID, GSMTIME, COMRATE, COMBIT, COMSTOPBIT, COMPARITY) VALUES (1, 0, 57600, 8, 0, 0);
SET GENERATOR GEN_RB_OPTIONS_ID TO 1;

COMMIT;
