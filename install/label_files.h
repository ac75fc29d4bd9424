// The two label driver files that staging writes instead of copying: the INI file, written
// afresh, and the GPD file, copied with three keys rewritten for the chosen label model.
// Texts are narrow ANSI bytes (the model name in the thread's code page); line ends are CR LF.
#pragma once

#include <cstddef>
#include <string>

namespace install {

// "[OEMFiles]\r\nOEMDriverFile1=<model>Drv.dll\r\nOEMConfigFile1=<model>UI.dll\r\n", no zero.
std::string LabelIniText(const std::string& modelName);

// "<model>RES.dll".
std::string LabelResourceFileName(const std::string& modelName);

// The GPD is copied in pieces: a line up to and including its line feed, but never more than
// this many bytes; a longer line becomes several pieces, each handled on its own.
constexpr size_t kGpdPieceBytes = 254;

// The package GPD with every piece that contains "*GPDFileName:", "*ModelName:" or
// "*ResourceDLL:" (tested in this order) replaced as a whole by that key followed by the quoted
// GPD file name, model name or resource file name and CR LF. Every other piece is kept
// byte for byte, zero bytes included.
std::string RewriteLabelGpd(const std::string& packageGpd, const std::string& gpdFileName,
                            const std::string& modelName);

}  // namespace install
