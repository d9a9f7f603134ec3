// CsvReader: records of RFC 4180 text: fields separated by commas, records
// ended by CRLF or LF; a field in double quotes may hold commas, line breaks
// and doubled quotes.
// Thread rule: one thread at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CsvReader {
 public:
  // Reads `text` (borrowed: it must outlive the reader).
  explicit CsvReader(std::string_view text) : text_(text) {}

  // The next record's fields. False at the end of the text, and false with
  // `error` set for a malformed record (a stray quote, an unclosed quote, a
  // last line without its line ending).
  bool next(std::vector<std::string>& fields, std::string& error);
  // The line on which the record last read begins (1 before the first).
  int line() const { return recordLine_; }

 private:
  // One field from at_; false with `error` set.
  bool readField(std::string& field, std::string& error);
  bool atLineEnd() const;
  void skipLineEnd();

  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;
  int recordLine_ = 1;
};
