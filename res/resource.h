// Resource identifiers shared by res/mirovane.rc and the program.
#pragma once

#define IDI_APP 1
