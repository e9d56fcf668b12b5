-- The lesson tables from the lists above. English lines end with "\n" as the
-- lesson view shows one sentence per line; positions count bytes of the
-- stored (GB18030) text, running over the lines as the view lays them out.
-- "tmpchntxt" marks a sentence without translation and counts as empty.
INSERT INTO tablename
SELECT line, startms, endms,
       coalesce(sum(length(english) + 1) OVER before, 0), length(english) + 1,
       coalesce(sum(chnbytes + 1) OVER before, 0), chnbytes,
       english || char(10), chinese
  FROM (SELECT *, CASE chinese WHEN 'tmpchntxt' THEN 0 ELSE length(CAST(chinese AS BLOB)) END AS chnbytes
          FROM sentence)
WINDOW before AS (ORDER BY line ROWS BETWEEN UNBOUNDED PRECEDING AND 1 PRECEDING)
 ORDER BY line;

-- Every whole-word occurrence of each form, ignoring case: "(text:line:offset)"
-- with the text as it stands in the sentence and the offset in characters.
CREATE TEMP TABLE ref AS
WITH RECURSIVE hit(seq, form, line, english, pos) AS (
  SELECT f.rowid, f.form, s.line, s.english, instr(lower(s.english), f.form)
    FROM form f JOIN sentence s ON instr(lower(s.english), f.form) > 0
  UNION ALL
  SELECT seq, form, line, english, pos + instr(substr(lower(english), pos + 1), form)
    FROM hit WHERE instr(substr(lower(english), pos + 1), form) > 0
)
SELECT f.kind, f.item, h.seq, h.line, h.pos,
       '(' || substr(h.english, h.pos, length(h.form)) || ':' || h.line || ':' || (h.pos - 1) || ')' AS text
  FROM hit h JOIN form f ON f.rowid = h.seq
 WHERE (h.pos = 1 OR substr(lower(h.english), h.pos - 1, 1) NOT GLOB '[a-z]')
   AND substr(lower(h.english), h.pos + length(h.form), 1) NOT GLOB '[a-z]';

INSERT INTO wordlist
SELECT item, group_concat(text, '') FROM (SELECT * FROM ref WHERE kind = 'word' ORDER BY item, line, pos)
 GROUP BY item ORDER BY min(seq);
INSERT INTO phaselist
SELECT item, group_concat(text, '') FROM (SELECT * FROM ref WHERE kind = 'phrase' ORDER BY item, line, pos)
 GROUP BY item ORDER BY min(seq);
COMMIT;
