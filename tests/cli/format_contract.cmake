set(CLI_ARGS format --at 46364.71191114583 "yyyy/mm/dd hh:nn:ss.zzz" "\\yyyy" "%yyyy" "'abc" "%%%")
set(CLI_EXPECTED "2026/12/08 17:05:09.123\n二〇二六\n２０２６\nabc\n%%\n")
