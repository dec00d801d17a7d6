# The sample formats of the options dialog at 2026-12-08 17:05:09.123.
set(CLI_ARGS format --regional=fixed --at 46364.71191114583
  "yyyy/mm/dd'('aaa')'"
  "\\ggge'年'm'月'd'日('aaa')'"
  "%gggee'年'mm'月'dd'日（'www'）'"
  "%yyyy\"／\"mm\"／\"dd\"（\"DDD\"）月齢\"r"
  "\"'\"yy/mm/dd \"（ユリウス通日：\"u\"日）\""
  "%yyyy/mm/dd% dddddd %hh:nn:ss%  \"月齢\"rrr"
  "%gee\"／\"mm\"／\"dd\"（\"aaaa\"） \"hh\"：\"nn\"：\"ss AM%PM"
  "\\ggge\"年\"kkkkkd\"日（\"aaa\"） \"am\\pm h\"時\"n\"分\"s\"秒\""
  "hh:nn:ss"
  "\\h'時'n'分's'秒'"
  "ff:nn:ss a.m./p.m."
  "am%pm %f'時'n'分's'秒'"
  "gee/mm/dd'('aaa') 'hh:nn:ss"
  "ddd\", \"dd\" \"mmm\" \"yyyy\", \"hh:nn:ss"
  "DDDD', 'dd' 'MMMM' 'yyyy', 'ff:nn:ss' 'AM/PM"
  "\\ggge\"年（\"jjjj\"年・\"ll\"）\"kkk d\"日\" hhh\"の刻\"")
set(CLI_EXPECTED "2026/12/08(火)
平成三八年一二月八日(火)
平成３８年１２月０８日（火）
２０２６／１２／０８（TUE）月齢２９
'26/12/08 （ユリウス通日：2461384日）
２０２６/１２/０８ Ｔｕｅ １７:０５:０９  月齢29.0
Ｈ３８／１２／０８（火曜日） １７：０５：０９ ＰＭ
平成三八年師走　八日（火） 午後 一七時五分九秒
17:05:09
一七時五分九秒
05:05:09 p.m.
ｐｍ ５時５分９秒
H38/12/08(火) 17:05:09
Tue, 08 Dec 2026, 17:05:09
TUESDAY, 08 DECEMBER 2026, 05:05:09 PM
平成三八年（午年・平）師走 八日 酉の刻
")
