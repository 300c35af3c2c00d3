// Reading steps of the line-oriented text format shared by sound files, group files, the
// clipboard and the undo snapshots. A stream is a sequence of value lines ("Key value"), block
// starts ("BEGIN Key TypeName") and block ends ("END"); CR LF and LF line ends read alike.
#pragma once

#include <istream>
#include <string>
#include <string_view>

namespace text_format {

inline constexpr char kBlockStart[] = "BEGIN";
inline constexpr char kBlockEnd[] = "END";
// Bytes that stand for line feed and carriage return inside a quoted string.
inline constexpr unsigned char kEncodedLineFeed = 0xA2;
inline constexpr unsigned char kEncodedCarriageReturn = 0xA5;

// Reads the characters up to the next white space, which stays in the stream; leading white
// space is not skipped, so a word that starts at white space is empty. False when the input
// ends before any character was read or fails; a last word without a line end still counts.
bool ReadWord(std::istream& in, std::string& word);

// Consumes up to and including the next line feed. False when the stream failed; the end of
// the input counts as the end of the last line.
bool SkipLine(std::istream& in);

// Skips blanks, tabs and line ends.
void SkipWhiteSpace(std::istream& in);

// Skips the rest of a block whose start line has been read, including nested blocks, up to
// and including its "END" line. False when the input ends inside the block.
bool SkipBlock(std::istream& in);

// Reads a quoted string value. Characters before the opening quote are discarded. False (with
// an empty value) when a line feed comes before the string is closed, or the input ends inside
// it or right after its closing quote.
bool ReadQuoted(std::istream& in, std::string& value);

// After a read of `text` through `in` returned false: where it stopped, for an error message
// ("line 12 cannot be read", or "it ends before the END of a block" when the text ran out).
std::string DescribeReadStop(std::istream& in, std::string_view text);

}  // namespace text_format
