// CapturedLog: keeping a quiet net's messages and its first runtime error.
#include "analysis/CapturedLog.h"

namespace {

// The frame of a built-in's runtime error report, around its message.
constexpr std::string_view kReportOpening = "***Primitive RunTime error:";
constexpr std::string_view kReportClosing = "***Arguments to the primitive:";

bool isRuntimeError(std::string_view message) {
  return message.find("RunTime error") != std::string_view::npos ||
         message.find("runtime error") != std::string_view::npos;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

void CapturedLog::write(std::string_view message) {
  if (firstError_.empty() && isRuntimeError(message)) firstError_ = errorLine(message);
  if (text_.size() >= kMaxKept) return;
  text_.append(message.substr(0, kMaxKept - text_.size()));
  text_ += '\n';
}

std::string errorLine(std::string_view report) {
  if (std::size_t opening = report.find(kReportOpening); opening != std::string_view::npos) {
    report.remove_prefix(opening + kReportOpening.size());
    report = report.substr(0, report.find(kReportClosing));
  }
  std::string line;
  for (char c : report) {
    if (!isSpace(c)) {
      line += c;
    } else if (!line.empty() && line.back() != ' ') {
      line += ' ';
    }
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}
