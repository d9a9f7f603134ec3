// EventsOutput: the documents as they are, or flattened into CSV or JSON lines.
#include "client/EventsOutput.h"

#include <array>
#include <string>

#include "analysis/TextFields.h"
#include "client/EventsFlattening.h"

namespace {

// The records' fields, in the order of the CSV columns and the JSON keys.
constexpr std::array<std::string_view, 8> kFields = {"step", "event",          "token", "place",
                                                     "into", "characteristic", "type",  "value"};

// A field of a record after its step: its text, and whether the record has it.
struct TextField {
  std::string_view text;
  bool present;
};

// The fields after the step, in the order of kFields.
std::array<TextField, kFields.size() - 1> textFields(const EventRecord& record) {
  return {{{record.event, true},
           {record.token, true},
           {record.place, true},
           {record.into, record.hasInto},
           {record.characteristic, record.hasCharacteristic},
           {record.type, record.hasCharacteristic},
           {record.value, record.hasCharacteristic}}};
}

class DocumentOutput final : public EventsOutput {
 public:
  explicit DocumentOutput(std::FILE* out) : out_(out) {}
  bool write(std::string_view document, int, RunFailure&) override {
    std::fwrite(document.data(), 1, document.size(), out_);
    return true;
  }

 private:
  std::FILE* out_;
};

// Flattens each document and writes its records, one text per document.
class RecordOutput : public EventsOutput {
 public:
  explicit RecordOutput(std::FILE* out) : out_(out) {}
  bool write(std::string_view document, int firstStep, RunFailure& failure) override {
    text_.clear();
    std::string error;
    bool ok = flattener_.flatten(
        document, firstStep, [this](const EventRecord& record) { append(record); }, error);
    std::fwrite(text_.data(), 1, text_.size(), out_);
    if (!ok) failure = {1, error};
    return ok;
  }

 protected:
  virtual void append(const EventRecord& record) = 0;
  std::FILE* out_;
  std::string text_;

 private:
  EventsFlattener flattener_;
};

// RFC 4180: fields quoted when they must be, lines ended by CRLF.
class CsvOutput final : public RecordOutput {
 public:
  explicit CsvOutput(std::FILE* out) : RecordOutput(out) {
    for (std::string_view field : kFields) text_ += std::string(text_.empty() ? "" : ",") + std::string(field);
    text_ += "\r\n";
    std::fwrite(text_.data(), 1, text_.size(), out_);
  }

 private:
  void append(const EventRecord& record) override {
    text_ += std::to_string(record.step);
    for (const TextField& field : textFields(record)) {
      text_ += ',';
      appendCsvField(text_, field.text);
    }
    text_ += "\r\n";
  }
};

// A field that a record does not have is null.
class JsonLinesOutput final : public RecordOutput {
 public:
  using RecordOutput::RecordOutput;

 private:
  void append(const EventRecord& record) override {
    text_ += "{\"step\":" + std::to_string(record.step);
    const auto fields = textFields(record);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      text_ += ",\"";
      text_ += kFields[i + 1];
      text_ += "\":";
      if (fields[i].present) {
        appendJsonString(text_, fields[i].text);
      } else {
        text_ += "null";
      }
    }
    text_ += "}\n";
  }
};

}  // namespace

std::unique_ptr<EventsOutput> makeEventsOutput(EventsFormat format, std::FILE* out) {
  if (format == EventsFormat::Csv) return std::make_unique<CsvOutput>(out);
  if (format == EventsFormat::JsonLines) return std::make_unique<JsonLinesOutput>(out);
  return std::make_unique<DocumentOutput>(out);
}
