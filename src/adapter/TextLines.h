// Reading the text files Calvix is given (m-files, arguments files) line by
// line with a length limit per line.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

// Reads the next line into `line` without its line end (a "\r" before the
// "\n" is dropped too, so files written with either line end read the same).
// False at the end of the stream, and for a line longer than `limit`, which
// ends the reading as a too-long line did for the fixed buffers these files
// were made for.
bool readLimitedLine(std::istream& in, std::string& line, std::size_t limit);
