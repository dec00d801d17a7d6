# --version prints the project's version (project() in the top CMakeLists.txt).
set(CLI_ARGS --version)
set(CLI_EXPECTED "mirovane-cli ${VERSION}\n")
