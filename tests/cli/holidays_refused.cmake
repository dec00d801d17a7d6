# A year before the law (1948) is refused: exit status 2, one line on stderr, nothing on stdout.
set(CLI_ARGS holidays 1947 1950)
set(CLI_EXPECTED "")
set(CLI_STATUS 2)
set(CLI_EXPECTED_ERR "mirovane-cli: a year from 1948 to 9999 expected, not \"1947\"\n")
