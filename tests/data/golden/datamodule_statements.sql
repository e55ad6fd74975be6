-- IBGroups select
SELECT ID, NAME
  FROM LISTGROUPS;
-- IBGroups insert
insert into LISTGROUPS
  (ID, NAME)
values
  (:ID, :NAME);
-- IBGroups modify
update LISTGROUPS
set
  ID = :ID,
  NAME = :NAME
where
  ID = :OLD_ID;
-- IBGroups delete
delete from LISTGROUPS
where
  ID = :OLD_ID;
-- IBGroups refresh
Select ID, NAME
from LISTGROUPS
where
  ID = :ID;
-- IBContacts select
SELECT * FROM CONTACTS
WHERE IDGROUP = :ID;
-- IBContacts insert
insert into CONTACTS
  (PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD, SEND, DATESEND, TIMESEND, PARTSEND, FERROR, ID, IDGROUP, IDMESSAGE)
values
  (:PHONE, :NAME, :BIRTHDATE, :DFIELD, :EFIELD, :FFIELD, :GFIELD, :SEND, :DATESEND, :TIMESEND, :PARTSEND, :FERROR, :ID, :IDGROUP, :IDMESSAGE);
-- IBContacts modify
update CONTACTS
set
  PHONE = :PHONE,
  NAME = :NAME,
  BIRTHDATE = :BIRTHDATE,
  DFIELD = :DFIELD,
  EFIELD = :EFIELD,
  FFIELD = :FFIELD,
  GFIELD = :GFIELD,
  SEND = :SEND,
  DATESEND = :DATESEND,
  TIMESEND = :TIMESEND,
  PARTSEND = :PARTSEND,
  FERROR = :FERROR,
  ID = :ID,
  IDGROUP = :IDGROUP,
  IDMESSAGE = :IDMESSAGE
where
  ID = :OLD_ID;
-- IBContacts delete
delete from CONTACTS
where
  ID = :OLD_ID;
-- IBContacts refresh
Select PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD, SEND, DATESEND, TIMESEND, PARTSEND, FERROR, ID, IDGROUP, IDMESSAGE
from CONTACTS
where
  ID = :ID;
-- IBFields select
select FORTEMP, FTYPE, FVISIBLE, FWIDTH, ID, NAMEDISP, NAMEDS, TEMPL
FROM RB_FIELDS;
-- IBFields insert
insert into RB_FIELDS
  (FORTEMP, FTYPE, FVISIBLE, FWIDTH, ID, NAMEDISP, NAMEDS, TEMPL)
values
  (:FORTEMP, :FTYPE, :FVISIBLE, :FWIDTH, :ID, :NAMEDISP, :NAMEDS, :TEMPL);
-- IBFields modify
update RB_FIELDS
set
  FORTEMP = :FORTEMP,
  FTYPE = :FTYPE,
  FVISIBLE = :FVISIBLE,
  FWIDTH = :FWIDTH,
  ID = :ID,
  NAMEDISP = :NAMEDISP,
  NAMEDS = :NAMEDS,
  TEMPL = :TEMPL
where
  ID = :OLD_ID;
-- IBFields delete
delete from RB_FIELDS
where
  ID = :OLD_ID;
-- IBFields refresh
Select FORTEMP, FTYPE, FVISIBLE, FWIDTH, ID, NAMEDISP, NAMEDS, TEMPL
from RB_FIELDS
where
  ID = :ID;
-- IBTemplate select
select FTEXT, ID, NAME
from TEMPLATE;
-- IBTemplate insert
insert into TEMPLATE
  (FTEXT, ID, NAME)
values
  (:FTEXT, :ID, :NAME);
-- IBTemplate modify
update TEMPLATE
set
  FTEXT = :FTEXT,
  ID = :ID,
  NAME = :NAME
where
  ID = :OLD_ID;
-- IBTemplate delete
delete from TEMPLATE
where
  ID = :OLD_ID;
-- IBTemplate refresh
Select FTEXT, ID, NAME
from TEMPLATE
where
  ID = :ID;
-- IBOptions select
select GSMLOG, GSMTIME, ID, LOGFILE, SHBLANCE, SHFROM, SHLOGIN, SHPASSWORD, COMBIT, COMCONTROL, COMPARITY, COMRATE, COMSTOPBIT, EMLOGIN, EMPASS, EMPOP
from RB_OPTIONS;
-- IBOptions insert
insert into RB_OPTIONS
  (GSMLOG, GSMTIME, ID, LOGFILE, SHBLANCE, SHFROM, SHLOGIN, SHPASSWORD, COMBIT, COMCONTROL, COMPARITY, COMRATE, COMSTOPBIT, EMLOGIN, EMPASS, EMPOP)
values
  (:GSMLOG, :GSMTIME, :ID, :LOGFILE, :SHBLANCE, :SHFROM, :SHLOGIN, :SHPASSWORD, :COMBIT, :COMCONTROL, :COMPARITY, :COMRATE, :COMSTOPBIT, :EMLOGIN, :EMPASS, :EMPOP);
-- IBOptions modify
update RB_OPTIONS
set
  GSMLOG = :GSMLOG,
  GSMTIME = :GSMTIME,
  ID = :ID,
  LOGFILE = :LOGFILE,
  SHBLANCE = :SHBLANCE,
  SHFROM = :SHFROM,
  SHLOGIN = :SHLOGIN,
  SHPASSWORD = :SHPASSWORD,
  COMBIT = :COMBIT,
  COMCONTROL = :COMCONTROL,
  COMPARITY = :COMPARITY,
  COMRATE = :COMRATE,
  COMSTOPBIT = :COMSTOPBIT,
  EMLOGIN = :EMLOGIN,
  EMPASS = :EMPASS,
  EMPOP = :EMPOP
where
  ID = :OLD_ID;
-- IBOptions delete
delete from RB_OPTIONS
where
  ID = :OLD_ID;
-- IBOptions refresh
Select GSMLOG, GSMTIME, ID, LOGFILE, SHBLANCE, SHFROM, SHLOGIN, SHPASSWORD, COMBIT, COMCONTROL, COMPARITY, COMRATE, COMSTOPBIT, EMLOGIN, EMPASS, EMPOP
from RB_OPTIONS
where
  ID = :ID;
-- IBOper select
select FTYPE, ID, NAME
from RB_OPER;
-- IBOper insert
insert into RB_OPER
  (FTYPE, ID, NAME)
values
  (:FTYPE, :ID, :NAME);
-- IBOper modify
update RB_OPER
set
  FTYPE = :FTYPE,
  ID = :ID,
  NAME = :NAME
where
  ID = :OLD_ID;
-- IBOper delete
delete from RB_OPER
where
  ID = :OLD_ID;
-- IBOper refresh
Select FTYPE, ID, NAME
from RB_OPER
where
  ID = :ID;
-- IBFilter select
select FILT, ID, NAME
from LISTFILT;
-- IBFilter insert
insert into LISTFILT
  (FILT, ID, NAME)
values
  (:FILT, :ID, :NAME);
-- IBFilter modify
update LISTFILT
set
  FILT = :FILT,
  ID = :ID,
  NAME = :NAME
where
  ID = :OLD_ID;
-- IBFilter delete
delete from LISTFILT
where
  ID = :OLD_ID;
-- IBFilter refresh
Select FILT, ID, NAME
from LISTFILT
where
  ID = :ID;
