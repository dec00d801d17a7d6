# A device that never ends given as the alarm list: refused at once, without reading it, as a
# list that cannot be read (exit status 1 and the engine's message), never an endless read.
set(CLI_ARGS alarms /dev/zero --now 2024-05-06T12:00:00)
set(CLI_STATUS 1)
set(CLI_EXPECTED "next none\n")
set(CLI_EXPECTED_ERR "警告: アラーム設定リストを読み込めません。\n")
