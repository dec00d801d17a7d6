# A format with a character Shift_JIS cannot hold is refused as a whole: exit status 2, one line
# on stderr that names the character, nothing on stdout.
set(CLI_ARGS format "yyyy" "Jürgen")
set(CLI_EXPECTED "")
set(CLI_STATUS 2)
set(CLI_EXPECTED_ERR
    "mirovane-cli: the format \"Jürgen\" has characters Shift_JIS cannot hold: ü\n")
