// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/nmea.h"

#include <algorithm>
#include <utility>

namespace moltrevane {
namespace {

bool IsLineEnd(unsigned char byte) { return byte == '\n' || byte == '\r'; }

bool IsRmcHeader(std::string_view at) {
    static constexpr std::array<std::string_view, 7> kTalkers = {"GP", "GN", "GL", "GA", "GB", "GQ", "BD"};
    if (at.size() < 7 || at[0] != '$' || at.substr(3, 4) != "RMC,") return false;
    return std::find(kTalkers.begin(), kTalkers.end(), at.substr(1, 2)) != kTalkers.end();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A sentence without '*' carries no checksum and is taken on trust.
bool ChecksumMatches(std::string_view sentence) {
    const std::size_t star = sentence.find('*');
    if (star == std::string_view::npos) return true;
    if (star + 3 > sentence.size()) return false;
    const int high = HexValue(sentence[star + 1]);
    const int low = HexValue(sentence[star + 2]);
    if (high < 0 || low < 0) return false;
    unsigned char sum = 0;
    for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(sentence[i]);
    return sum == high * 16 + low;
}

void MakeRoomFor(CollectedLines& lines, std::size_t lineLength) {
    if (lineLength + lines.length > CollectedLines::kLimit) lines.length = 0;
}

void Append(CollectedLines& lines, const std::array<char, NmeaBuffer::kLineCapacity>& line, std::size_t lineLength) {
    std::copy_n(line.begin(), lineLength, lines.bytes.begin() + static_cast<std::ptrdiff_t>(lines.length));
    lines.length += lineLength;
}

}  // namespace

void FeedByte(NmeaBuffer& buffer, unsigned char byte) {
    std::lock_guard lock(buffer.guard);
    if (buffer.droppingLine) {
        buffer.droppingLine = !IsLineEnd(byte);
        return;
    }
    const std::size_t n = buffer.lineLength;
    MakeRoomFor(buffer.text, n);
    MakeRoomFor(buffer.viewText, n);
    if (byte == 0) return;  // a zero byte never lengthens a zero-terminated line
    if (n == NmeaBuffer::kLineCapacity) {
        buffer.lineLength = 0;
        buffer.droppingLine = !IsLineEnd(byte);
        return;
    }
    buffer.line[n] = static_cast<char>(byte);
    buffer.lineLength = n + 1;
    if (!IsLineEnd(byte)) return;
    Append(buffer.text, buffer.line, buffer.lineLength);
    Append(buffer.viewText, buffer.line, buffer.lineLength);
    const std::string_view sentence(buffer.line.data(), buffer.lineLength - 1);
    if (IsRmcHeader(sentence) && ChecksumMatches(sentence)) {
        std::copy(sentence.begin(), sentence.end(), buffer.latestRmc.begin());
        buffer.latestRmcLength = sentence.size();
    }
    buffer.lineLength = 0;
}

std::string TakeSentence(NmeaBuffer& buffer) {
    // Sentences are never taken from beyond this text position.
    constexpr std::size_t kSentenceLimit = 1023;
    std::lock_guard lock(buffer.guard);
    const std::string_view text(buffer.text.bytes.data(), std::min(buffer.text.length, kSentenceLimit));
    const std::string latest(buffer.latestRmc.data(), buffer.latestRmcLength);
    buffer.text.length = 0;
    buffer.latestRmcLength = 0;
    for (std::size_t p = text.find('$'); p != std::string_view::npos; p = text.find('$', p + 1)) {
        const std::string_view rest = text.substr(p);
        if (!IsRmcHeader(rest)) continue;
        const std::size_t end = rest.find_first_of("\r\n");
        if (end == std::string_view::npos) break;  // cut by the limit: its checksum is not all there
        const std::string_view sentence = rest.substr(0, end);
        if (ChecksumMatches(sentence)) return std::string(sentence);
    }
    return latest;  // the text was emptied by its limit, or the sentence lay beyond the search
}

GroundMotion TakeReportedMotion(NmeaBuffer& buffer) {
    std::lock_guard lock(buffer.guard);
    return std::exchange(buffer.reportedMotion, {});
}

void ReportMotion(NmeaBuffer& buffer, const GroundMotion& motion) {
    std::lock_guard lock(buffer.guard);
    buffer.reportedMotion = motion;
}

std::string TakeAllText(NmeaBuffer& buffer) {
    std::lock_guard lock(buffer.guard);
    std::string text(buffer.viewText.bytes.data(), buffer.viewText.length);
    buffer.viewText.length = 0;
    buffer.text.length = 0;
    buffer.latestRmcLength = 0;
    return text;
}

}  // namespace moltrevane
