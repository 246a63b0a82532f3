// Trace cleaning and UTF-8 decoding over growing texts: the trace of a run with many
// attachments is cleaned line by line while the user waits, and every text field of every
// contact goes through DecodeUtf8.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/text_codec.h"
#include "framework/trace.h"
#include "framework/versit_property.h"

namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

std::string BinaryProperty(std::size_t dataSize, char fill) {
  return "ATTACH;NAME=f.bin;VALUE=BINARY:f.bin;*" + framework::FormatBinaryLength(dataSize) + "*" +
         std::string(dataSize, fill) + "\r\n";
}

void CleanText(benchmark::State& state, const std::string& text) {
  for (auto _ : state)
    benchmark::DoNotOptimize(framework::CleanTraceText(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetComplexityN(state.range(0));
}

// A WriteSource trace of a mail folder: text lines and many small attachments.
void BM_CleanTraceText_ManyBinaryValues(benchmark::State& state) {
  std::string text = "BEGIN:VMAIL\r\n";
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    text += "SUBJECT:message " + std::to_string(i) + "\r\n";
    text += BinaryProperty(256, static_cast<char>('a' + i % 26));
  }
  text += "END:VMAIL";
  CleanText(state, text);
}
BENCHMARK(BM_CleanTraceText_ManyBinaryValues)
    ->RangeMultiplier(4)
    ->Range(16, 64 * kKiB)
    ->Complexity();

void BM_CleanTraceText_LargeBinaryValue(benchmark::State& state) {
  CleanText(state, "BEGIN:VMAIL\r\n" +
                       BinaryProperty(static_cast<std::size_t>(state.range(0)), ';') + "END:VMAIL");
}
BENCHMARK(BM_CleanTraceText_LargeBinaryValue)
    ->RangeMultiplier(4)
    ->Range(kKiB, 16 * kMiB)
    ->Complexity();

// Hostile: binary markers whose ":" comes only at the very end of the text. Each marker makes
// the cleaner look for that ":" again.
void BM_CleanTraceText_HostileMarkersBeforeColon(benchmark::State& state) {
  std::string text;
  for (std::int64_t i = 0; i < state.range(0); ++i)
    text += "X;VALUE=BINARY\r\n";
  text += "END:x;y";
  CleanText(state, text);
}
BENCHMARK(BM_CleanTraceText_HostileMarkersBeforeColon)
    ->RangeMultiplier(4)
    ->Range(64, 16 * kKiB)
    ->Complexity();

void DecodeText(benchmark::State& state, const std::string& text) {
  for (auto _ : state)
    benchmark::DoNotOptimize(framework::DecodeUtf8(text, platform::Windows1252()));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetComplexityN(state.range(0));
}

std::string Repeated(std::string_view piece, std::int64_t size) {
  std::string text;
  text.reserve(static_cast<std::size_t>(size) + piece.size());
  while (static_cast<std::int64_t>(text.size()) < size)
    text += piece;
  return text;
}

// A long note as a contact carries it: mostly ASCII, accents and euro signs escaped, the odd
// lone escape and lower-case escape that stay as they are.
void BM_DecodeUtf8_LongText(benchmark::State& state) {
  DecodeText(state,
             Repeated("Caf=C3=A9 au lait, =E2=82=AC 3,50; na=E9ve =c3=a9 text. ", state.range(0)));
}
BENCHMARK(BM_DecodeUtf8_LongText)->RangeMultiplier(8)->Range(kKiB, 4 * kMiB)->Complexity();

// One unbroken run of escapes that is not UTF-8: decoded two at a time.
void BM_DecodeUtf8_LongEscapeRun(benchmark::State& state) {
  DecodeText(state, Repeated("=E9", state.range(0)) + "=41");
}
BENCHMARK(BM_DecodeUtf8_LongEscapeRun)->RangeMultiplier(8)->Range(kKiB, 4 * kMiB)->Complexity();

// One unbroken run of escapes that is UTF-8 (euro signs): decoded whole.
void BM_DecodeUtf8_LongUtf8Run(benchmark::State& state) {
  DecodeText(state, Repeated("=E2=82=AC", state.range(0)));
}
BENCHMARK(BM_DecodeUtf8_LongUtf8Run)->RangeMultiplier(8)->Range(kKiB, 4 * kMiB)->Complexity();

}  // namespace
