-- The empty lesson: the three lesson tables with no rows.
create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );
create table wordlist( stroriginalword varchar(1000), strreference varchar(10000) );
create table phaselist( stroriginalphase varchar(1000), strreference varchar(10000) );
