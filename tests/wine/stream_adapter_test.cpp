// StreamAdapter over a real IStream on global memory; results are checked through the raw
// IStream where the adapter could fool itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "platform/win32/stream_adapter.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

class StreamAdapterTest : public ComTest {
 protected:
  void SetUp() override {
    memory_ = UniqueHGlobal(GlobalAlloc(GMEM_MOVEABLE, 0));
    ASSERT_TRUE(memory_.Get());
    // The test keeps the memory, so it can read the bytes without going through the stream.
    HRESULT hr = CreateStreamOnHGlobal(memory_.Get(), FALSE, raw_.Put());
    ASSERT_EQ(hr, S_OK) << Hex(hr);
    stream_ = std::make_unique<StreamAdapter>(raw_);
    WriteText(*stream_, "hello world");  // 11 bytes, position 11
  }

  uint64_t RawSize() const {
    STATSTG stat{};
    EXPECT_EQ(raw_->Stat(&stat, STATFLAG_NONAME), S_OK);
    return stat.cbSize.QuadPart;
  }

  std::string RawContents() const {
    GlobalLockScope lock(memory_.Get());
    const auto size = static_cast<std::size_t>(RawSize());
    EXPECT_LE(size, lock.Bytes().size());
    return std::string(reinterpret_cast<const char*>(lock.Bytes().data()),
                       std::min(size, lock.Bytes().size()));
  }

  UniqueHGlobal memory_;  // outlives the stream, which does not free it
  ComPtr<IStream> raw_;
  std::unique_ptr<StreamAdapter> stream_;
};

TEST_F(StreamAdapterTest, SeeksFromEachOriginIncludingPastTheEnd) {
  const struct {
    const char* row;
    int64_t offset;
    ByteStream::Origin origin;
    uint64_t position;
    std::optional<std::string> rest;  // what reading from there gives
  } cases[] = {
      {"from the start", 6, ByteStream::Origin::kBegin, 6, "world"},
      {"back from the current position", -3, ByteStream::Origin::kCurrent, 8, "rld"},
      {"from the end", -5, ByteStream::Origin::kEnd, 6, "world"},
      // Not read there: Wine 8's memory stream reads out of bounds past its end.
      {"past the end", 4, ByteStream::Origin::kEnd, 15, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    stream_->Seek(0, ByteStream::Origin::kEnd);  // every row starts at 11
    EXPECT_EQ(stream_->Seek(c.offset, c.origin), c.position);
    if (c.rest) {
      EXPECT_EQ(ReadToEnd(*stream_), *c.rest);
    }
  }
  EXPECT_EQ(RawSize(), 11u) << "seeking alone must not grow the stream";
  WriteText(*stream_, "!");
  EXPECT_EQ(RawSize(), 16u);
  EXPECT_EQ(RawContents().substr(0, 11), "hello world");
  EXPECT_EQ(RawContents().substr(15), "!");
}

TEST_F(StreamAdapterTest, WritesLandInTheStreamAndSetSizeTruncates) {
  stream_->Seek(6, ByteStream::Origin::kBegin);
  WriteText(*stream_, "W");
  EXPECT_EQ(RawContents(), "hello World");
  stream_->SetSize(5);
  EXPECT_EQ(RawSize(), 5u);
  EXPECT_EQ(RawContents(), "hello");
}

TEST_F(StreamAdapterTest, ReadsStopShortOnlyAtTheEnd) {
  stream_->Seek(3, ByteStream::Origin::kBegin);
  char buffer[32];
  EXPECT_EQ(stream_->Read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "lo w");
  EXPECT_EQ(stream_->Read(buffer, sizeof buffer), 4u);
  EXPECT_EQ(stream_->Read(buffer, sizeof buffer), 0u) << "read at the end";
}

TEST_F(StreamAdapterTest, FailuresNameTheOperationAndTheHResult) {
  try {
    stream_->Seek(-1, ByteStream::Origin::kBegin);
    FAIL() << "seek before the start succeeded";
  } catch (const StreamError& error) {
    std::string text = error.what();
    EXPECT_EQ(text.rfind("Stream seek error: ", 0), 0u) << text;
    EXPECT_NE(text.find("(0x800300"), std::string::npos) << text;  // a STG_E_* code
  }
}

}  // namespace
}  // namespace platform::win32::test
