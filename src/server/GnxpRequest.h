// The number rules of GNXP/0.1 requests: the step count of a STEP line and
// the value of a Content-Length header.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Bodies larger than this are refused unread, as if Content-Length were missing.
constexpr std::int64_t kMaxContentLength = 64 * 1024 * 1024;

// The decimal integer at the start of `text` after optional white space and
// an optional sign, ending at the first non-digit; none when no digit follows
// the sign. Values beyond 64 bits saturate.
std::optional<std::int64_t> leadingNumber(std::string_view text);

// The step count of a request line that contains "STEP": the number after the
// line's first blank (0 when there is none, saturated to 32 bits), or 1 when
// the line has no blank.
int stepCount(std::string_view line);

// What a Content-Length header does to the remembered length. The value is read
// from the second character after the colon (the one right after the colon is
// skipped whatever it is): no number leaves `current` unchanged; a number
// below 0 or above kMaxContentLength gives -1 (no usable length).
std::int64_t contentLengthAfter(std::string_view valueAfterColon, std::int64_t current);
