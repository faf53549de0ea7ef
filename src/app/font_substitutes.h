#pragma once
// The window's fonts are named as on the desktop the program was designed
// for; where those families are missing, close relatives stand in.

namespace nfp {

// Registers stand-ins for "MS Sans Serif", "Verdana" and "Tahoma" when the
// system has no font of that name. Needs the application object.
void InstallFontSubstitutes();

} // namespace nfp
