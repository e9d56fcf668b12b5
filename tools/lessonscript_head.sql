-- The start of every shipped lesson script: the lesson tables and the two
-- lists a lesson source fills (see tools/lessonscript_tables.sql).
BEGIN;
CREATE TABLE tablename(linecnt INTEGER, starttime INTEGER, endtime INTEGER, fgnstartpos INTEGER,
  fgntxtlen INTEGER, chnstartpos INTEGER, chntxtlen INTEGER, fgntxt varchar(3000), chntxt varchar(3000));
CREATE TABLE wordlist(stroriginalword varchar(1000), strreference varchar(10000));
CREATE TABLE phaselist(stroriginalphase varchar(1000), strreference varchar(10000));

-- The sentences: line (from 0), start and end in ms, English, Chinese.
CREATE TEMP TABLE sentence(line INTEGER PRIMARY KEY, startms INTEGER, endms INTEGER, english TEXT, chinese TEXT);

-- The notable words and phrases (an apostrophe as "*"), each with the
-- forms of it that the lesson uses, in lower case.
CREATE TEMP TABLE form(kind TEXT, item TEXT, form TEXT);
