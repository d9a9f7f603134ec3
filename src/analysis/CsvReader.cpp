// CsvReader: one field at a time, quoted or plain.
#include "analysis/CsvReader.h"

bool CsvReader::next(std::vector<std::string>& fields, std::string& error) {
  fields.clear();
  if (at_ == text_.size()) return false;
  recordLine_ = line_;
  while (true) {
    fields.emplace_back();
    if (!readField(fields.back(), error)) return false;
    if (at_ == text_.size()) {
      error = "the line has no line ending (the file may be cut short)";
      return false;
    }
    if (atLineEnd()) {
      skipLineEnd();
      return true;
    }
    ++at_;  // the comma
  }
}

bool CsvReader::atLineEnd() const { return text_[at_] == '\n' || text_.substr(at_, 2) == "\r\n"; }

void CsvReader::skipLineEnd() {
  at_ += text_[at_] == '\r' ? 2 : 1;
  ++line_;
}

bool CsvReader::readField(std::string& field, std::string& error) {
  if (at_ < text_.size() && text_[at_] == '"') {
    for (++at_; at_ < text_.size(); ++at_) {
      if (text_[at_] == '"' && (at_ + 1 == text_.size() || text_[at_ + 1] != '"')) break;
      if (text_[at_] == '"') ++at_;  // a doubled quote stands for one
      if (text_[at_] == '\n') ++line_;
      field += text_[at_];
    }
    if (at_ == text_.size()) {
      error = "a quoted field is not closed";
      return false;
    }
    ++at_;
  } else {
    while (at_ < text_.size() && text_[at_] != ',' && !atLineEnd()) {
      if (text_[at_] == '"') {
        error = "a quote inside a field that does not start with one";
        return false;
      }
      field += text_[at_++];
    }
  }
  if (at_ < text_.size() && text_[at_] != ',' && !atLineEnd()) {
    error = "text after a quoted field's closing quote";
    return false;
  }
  return true;
}
