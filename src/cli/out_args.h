// The --out of the commands that write files. A log, a report or an export
// is written where the user said and nowhere else: a folder given where a
// file is written is refused (a file named only by an extension, hidden in
// that folder, is never made), and an extension the command adds itself is
// not added twice when the user typed it.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace orrimar::cli {

// --out of a command that writes one file under the path given. InputError
// naming the path when it is empty or names a folder ("log/", or a folder
// that is there); the message offers `example` as a file name in it.
std::string fileOut(const std::string& given, std::string_view example);

// --out of a command that writes the path given plus each of `extensions`
// (".map", ".html"): the path less one of those extensions at its end, in
// any case of letters ("x.html" -> "x"). Refused as fileOut() refuses, and
// when nothing but an extension is left to name the files (".html").
std::string baseOut(const std::string& given, std::initializer_list<std::string_view> extensions,
                    std::string_view example);

}  // namespace orrimar::cli
