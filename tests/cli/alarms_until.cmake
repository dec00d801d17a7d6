# The same list run on to 13:00. Expected by hand: the start-up alarm 7 fires once and is then
# inactive; the specific date 1 fires at 12:30 and is then past; at equal moments the lower list
# number fires first; 6 repeats every 15 minutes from each firing.
set(CLI_ARGS alarms "${CMAKE_CURRENT_LIST_DIR}/alarms_example.txt" --now=2024-05-06T12:00:00
    --startup --until=2024-05-06T13:00:00)
set(CLI_EXPECTED "1 active 2024-05-06T12:30:00.000
2 active 2028-02-29T09:00:00.000
3 active 2024-05-31T12:00:00.000
4 active 2024-05-15T07:45:00.000
5 active 2024-05-06T12:30:00.000
6 active 2024-05-06T12:00:00.000
7 active 2024-05-06T12:05:00.000
8 paused -
next 6 2024-05-06T12:00:00.000
fire 6 2024-05-06T12:00:00.000
fire 7 2024-05-06T12:05:00.000
fire 6 2024-05-06T12:15:00.000
fire 1 2024-05-06T12:30:00.000
fire 5 2024-05-06T12:30:00.000
fire 6 2024-05-06T12:30:00.000
fire 6 2024-05-06T12:45:00.000
fire 5 2024-05-06T13:00:00.000
fire 6 2024-05-06T13:00:00.000
")
