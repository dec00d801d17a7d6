# The worked example lines of the alarm list (alarms_example.txt: cp932, CR LF) loaded at start-up
# on Monday 2024-05-06 at 12:00. Expected by hand:
#   1 specific date today at 12:30, still to come
#   2 29 February, leap years only: the next leap year is 2028
#   3 last day of the month, hourly in the afternoon band: 31 May at 12:00
#   4 the 15th at 07:45: 15 May
#   5 daily every 30 minutes in the daytime band: 12:30
#   6 every 15 minutes, also at start-up: due at once, the earliest
#   7 Monday to Friday, 5 minutes after start-up: 12:05
#   8 paused
set(CLI_ARGS alarms "${CMAKE_CURRENT_LIST_DIR}/alarms_example.txt" --now 2024-05-06T12:00:00 --startup)
set(CLI_EXPECTED "1 active 2024-05-06T12:30:00.000
2 active 2028-02-29T09:00:00.000
3 active 2024-05-31T12:00:00.000
4 active 2024-05-15T07:45:00.000
5 active 2024-05-06T12:30:00.000
6 active 2024-05-06T12:00:00.000
7 active 2024-05-06T12:05:00.000
8 paused -
next 6 2024-05-06T12:00:00.000
")
