// The name of the single-instance guard (a named mutex): one running copy per executable file
// name and name of the folder that holds it.
#pragma once

#include <string>
#include <string_view>

namespace mirovane {

// "Mirovane_" + the last component of the executable's folder + "_" + the executable's file name,
// e.g. D:\Tools\Clock\Mirovane.exe gives "Mirovane_Clock_Mirovane.exe". `exePath` is a Windows
// path ('\' or '/' separators, optional drive); an executable in a drive's root folder gives an
// empty folder component ("Mirovane__Mirovane.exe").
std::wstring InstanceGuardName(std::wstring_view exePath);

}  // namespace mirovane
