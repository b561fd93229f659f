#include "playout/link/lineframer.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> frame(LineFramer& framer, const QList<QByteArray>& chunks) {
    std::vector<std::string> lines;
    for (const QByteArray& chunk : chunks) {
        framer.Append(chunk);
        QByteArray line;
        while (framer.TakeLine(line)) {
            lines.push_back(line.toStdString());
        }
    }
    return lines;
}

struct FramingCase {
    const char* name;
    QList<QByteArray> chunks;
    std::vector<std::string> lines;
    QByteArray left;
};
} // namespace

TEST(LineFramer, CutsChunksIntoLinesTheWayTheyArrive) {
    const std::vector<FramingCase> cases = {
        {"CR LF and LF each end a line", {"A\r\nB\n"}, {"A", "B"}, ""},
        {"LF CR ends two lines", {"A\n\rB\r"}, {"A", "", "B"}, ""},
        {"CR LF split across chunks is a line and an empty one",
         {"A\r", "\nB\r\n"},
         {"A", "", "B"},
         ""},
        {"a line split in the middle of a word arrives once, whole",
         {"SET PLAYER STA", "TUS,1,5,Tune\r\n"},
         {"SET PLAYER STATUS,1,5,Tune"},
         ""},
        {"text after the last end waits for the next chunk", {"A\r\nPART"}, {"A"}, "PART"},
        {"empty lines are lines", {"\r\n\r\n"}, {"", ""}, ""},
        {"bytes are kept as they are",
         {QByteArray("caf\xe9\x00x\r", 7)},
         {std::string("caf\xe9\x00x", 6)},
         ""},
    };
    for (const FramingCase& c : cases) {
        LineFramer framer;
        EXPECT_EQ(frame(framer, c.chunks), c.lines) << c.name;
        EXPECT_EQ(framer.Size(), c.left.size()) << c.name;
    }
}

TEST(LineFramer, DropsALineOverTheLimitWholeAndKeepsTheNextOne) {
    LineFramer framer;
    const QByteArray big(2 * LineFramer::kMaxLineBytes, 'x');
    // Arrives in chunks, as it would from the socket.
    QList<QByteArray> chunks = {"BEFORE\r\n"};
    for (qsizetype at = 0; at < big.size(); at += 65536) {
        chunks << big.mid(at, 65536);
    }
    chunks << QByteArray("tail\r\nAFTER\r\n");
    std::vector<std::string> lines;
    for (const QByteArray& chunk : chunks) {
        framer.Append(chunk);
        EXPECT_LE(framer.Size(), LineFramer::kMaxLineBytes + 1);
        QByteArray line;
        while (framer.TakeLine(line)) {
            lines.push_back(line.toStdString());
        }
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"BEFORE", "AFTER"}));
    EXPECT_EQ(framer.DroppedLines(), 1);
    EXPECT_EQ(framer.Size(), 0);
}

TEST(LineFramer, KeepsALineOfExactlyTheLimit) {
    LineFramer framer;
    const QByteArray exact(LineFramer::kMaxLineBytes, 'y');
    framer.Append(exact);
    framer.Append("\r");
    QByteArray line;
    ASSERT_TRUE(framer.TakeLine(line));
    EXPECT_EQ(line.size(), LineFramer::kMaxLineBytes);
    EXPECT_EQ(framer.DroppedLines(), 0);
}

TEST(LineFramer, ClearForgetsAPartialLineAndASkippedOne) {
    LineFramer framer;
    framer.Append("PARTIAL");
    framer.Clear();
    EXPECT_EQ(frame(framer, {"+CONNECTED\r\n"}), std::vector<std::string>{"+CONNECTED"});

    framer.Append(QByteArray(LineFramer::kMaxLineBytes + 1, 'z'));
    framer.Clear();
    EXPECT_EQ(frame(framer, {"NEXT\r\n"}), std::vector<std::string>{"NEXT"});
}
