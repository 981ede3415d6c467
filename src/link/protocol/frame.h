#pragma once

#include <QByteArray>
#include <QString>

namespace tq {

// Control characters of the detector's framed protocol.
namespace Ctrl {
inline constexpr char STX = 0x02;
inline constexpr char ETX = 0x03;
inline constexpr char EOT = 0x04; // ends a command and the last or only reply frame
inline constexpr char ENQ = 0x05;
inline constexpr char ACK = 0x06;
inline constexpr char CR = 0x0D;
inline constexpr char NAK = 0x15;
inline constexpr char ETB = 0x17; // ends a reply frame that more frames follow, and ACK/NAK
inline constexpr char SUB = 0x1A; // "still busy" in a write or confirm reply
inline constexpr char ESC = 0x1B;
} // namespace Ctrl

// Frames are the bytes on the wire, in the detector's code page. Senders build command
// texts as QString; MakeFrame encodes them once (text_codec.h) and from then on a frame
// (sent, received, LastSentFrame) is a QByteArray. Checksums are sums of those bytes.
//
// A frame: STX "0001" command ETX, two upper-case hex checksum digits, terminator.

// The frame of one command; commands end with EOT.
QByteArray MakeFrame(const QString &commandText, char terminator = Ctrl::EOT);

// How many command characters an acknowledge repeats: 5, or 7 when the frame it answers
// contains "IH" (ByCommand). The reply time-out's NAK always repeats 5.
enum class AckWidth { ByCommand, Five };

// Acknowledge and negative acknowledge of a multi-frame reply, built from the last frame
// sent: its first 5 (or 7) command characters and ACK or NAK, terminated by ETB.
QByteArray MakeAckFrame(const QByteArray &lastSentFrame);
QByteArray MakeNakFrame(const QByteArray &lastSentFrame, AckWidth width = AckWidth::ByCommand);

// (256 - sum of the bytes mod 256) mod 256: the value of a frame's checksum digits when
// given the bytes from STX through ETX.
int CalcCheckSum(const QByteArray &text);

// True when a received frame (STX .. ETX, two hex digits, terminator) carries the checksum
// of its bytes from the first through ETX. A frame with anything before STX fails.
bool FrameChecksumValid(const QByteArray &frame);

// The frame as it goes into the serial log: control characters as "[STX]", "[ETX]" ...
// or "[1F]"; CR and LF copied; every other text decoded from the detector's code page.
QString ShowControlChars(const QByteArray &frame);

// The bytes with every byte below 32 or above 127 removed.
QByteArray StripControlChars(const QByteArray &text);

} // namespace tq
