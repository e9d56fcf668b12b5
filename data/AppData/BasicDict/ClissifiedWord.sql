-- The exercise database, shipped empty. EXERCISE is made anew each time an
-- exercise is generated: one row per word form asked for, with the indexes of
-- the merged sentences it stands in (ikeyline1 the first, greater than 0;
-- 0 where there are fewer than six). EXERCISEHISTORY gets one row per
-- submitted exercise; its inserts give the values by position, so the
-- columns keep this order: linecnt (the row number, key for deleting),
-- strtime ("2013-5-7  9:5:3"), strvedioname and strvediopath (the media),
-- strlervel (the edition label), strengtxt, strchntxt, stranswer and
-- strmyanswer (question 1: English and Chinese sentence, right and given
-- answer; an apostrophe as "*"), strscore (percentage of right answers,
-- without "%"), exernum (number of questions), tmpstr1 and tmpstr2 (empty).
BEGIN;
create table EXERCISE( strkeyword varchar(100) primary key, ikeyline1 int, ikeyline2 int, ikeyline3 int, ikeyline4 int, ikeyline5 int, ikeyline6 int );
create table EXERCISEHISTORY( linecnt integer, strtime text, strvedioname text, strvediopath text, strlervel text,
  strengtxt text, strchntxt text, stranswer text, strmyanswer text, strscore text, exernum integer,
  tmpstr1 text, tmpstr2 text );
COMMIT;
