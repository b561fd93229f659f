#include "playout/link/lineframer.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
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

namespace {
// The framing rule written out plainly, chunk by chunk, for lines under the limit.
struct Reference {
    std::vector<std::string> lines;
    std::string partial;
    void Append(const std::string& chunk) {
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            const char c = chunk[i];
            if (c != '\r' && c != '\n') {
                partial += c;
                continue;
            }
            lines.push_back(std::exchange(partial, std::string()));
            if (c == '\r' && i + 1 < chunk.size() && chunk[i + 1] == '\n') {
                ++i;
            }
        }
    }
};

// The code page's own letters, a NUL and the bytes it leaves unassigned.
constexpr char kHighBytes[] = "Caf\xe9 \x80\x93quoted\x94\x00\xff\r\n\x81\x8d\x8f\x90\x9d\r";

const std::vector<std::string>& streams() {
    static const std::vector<std::string> all = {
        "SET PLAYER STATUS,1,5,Tune\r\nSET LOG STATUS,x\r\n",
        "A\rB\nC\r\nD\n\rE\r\r\n\n\r\n",
        std::string(kHighBytes, sizeof kHighBytes - 1),
        "no end at all",
        "\r\n\r\n\n\n\r\r",
        "a line longer than eight bytes, and another one\rshort\nx\r\n",
    };
    return all;
}
} // namespace

TEST(LineFramer, FramesAStreamCutAtEveryByteAsTheRuleSays) {
    for (const std::string& stream : streams()) {
        const QByteArray bytes = QByteArray::fromStdString(stream);
        // Two chunks, cut at every place; then every byte a chunk of its own.
        std::vector<QList<QByteArray>> cuts;
        for (qsizetype at = 0; at <= bytes.size(); ++at) {
            cuts.push_back({bytes.left(at), bytes.mid(at)});
        }
        QList<QByteArray> bytewise;
        for (const char c : bytes) {
            bytewise << QByteArray(1, c);
        }
        cuts.push_back(bytewise);
        for (const QList<QByteArray>& chunks : cuts) {
            Reference expected;
            for (const QByteArray& chunk : chunks) {
                expected.Append(chunk.toStdString());
            }
            LineFramer framer;
            SCOPED_TRACE(testing::PrintToString(stream) + " in " + std::to_string(chunks.size()) +
                         " chunks, the first " + std::to_string(chunks.first().size()) + " bytes");
            EXPECT_EQ(frame(framer, chunks), expected.lines);
            EXPECT_EQ(framer.Size(), qsizetype(expected.partial.size()));
        }
    }
}

TEST(LineFramer, KeepsLinesWaitingAcrossChunksUntilTheyAreTaken) {
    // A nested read appends while lines of the last chunk still wait: all of them come out
    // once, in order, and the bytes held count each waiting line with one byte for its end.
    LineFramer framer;
    framer.Append(QByteArray("ONE\r\nTWO\r\nTH"));
    QByteArrayView view;
    ASSERT_TRUE(framer.TakeLine(view));
    EXPECT_EQ(view, "ONE");
    framer.Append(QByteArray("REE\nFOUR\r"));
    EXPECT_EQ(framer.Size(), 4 + 6 + 5);
    std::vector<std::string> rest;
    while (framer.TakeLine(view)) {
        rest.push_back(view.toByteArray().toStdString());
    }
    EXPECT_EQ(rest, (std::vector<std::string>{"TWO", "THREE", "FOUR"}));
    EXPECT_EQ(framer.Size(), 0);
}

TEST(LineFramer, CopiesBytesItDoesNotOwnBeforeTheCallerReusesThem) {
    char bytes[] = "RAW ONE\r\nRAW TWO\r\n";
    LineFramer framer;
    framer.Append(QByteArray::fromRawData(bytes, sizeof bytes - 1));
    std::fill(std::begin(bytes), std::end(bytes), 'x');
    std::vector<std::string> lines;
    QByteArray line;
    while (framer.TakeLine(line)) {
        lines.push_back(line.toStdString());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"RAW ONE", "RAW TWO"}));
}

TEST(LineFramer, DropsOverlongLinesWhereverTheirEndsFall) {
    const qsizetype limit = LineFramer::kMaxLineBytes;
    const QByteArray exact(limit, 'e');
    const QByteArray over(limit + 1, 'o');
    struct Case {
        const char* name;
        QList<QByteArray> chunks;
        std::vector<std::string> lines; // the long line kept is shown by its size
        qsizetype dropped;
    };
    const std::vector<Case> cases = {
        {"one over in a single chunk, with lines either side",
         {"A\r\n" + over + "\r\nB\r\n"},
         {"A", "B"},
         1},
        {"one over, its end the first byte of the next chunk", {over, "\r\nB\r\n"}, {"B"}, 1},
        {"one over, joined from two chunks", {over.left(10), over.mid(10) + "\nB\n"}, {"B"}, 1},
        {"exactly the limit, joined from two chunks",
         {exact.left(limit / 2), exact.mid(limit / 2) + "\r\nB\r\n"},
         {std::to_string(limit), "B"},
         0},
        {"exactly the limit, its end in a chunk of its own",
         {exact, "\r", "\nB\r"},
         {std::to_string(limit), "", "B"},
         0},
        {"two over in a row", {over + "\r" + over + "\nB\r"}, {"B"}, 2},
    };
    for (const Case& c : cases) {
        LineFramer framer;
        std::vector<std::string> lines;
        for (const QByteArray& chunk : c.chunks) {
            framer.Append(chunk);
            EXPECT_LE(framer.Size(), limit + 8) << c.name;
            QByteArray line;
            while (framer.TakeLine(line)) {
                lines.push_back(line.size() > 100 ? std::to_string(line.size())
                                                  : line.toStdString());
            }
        }
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(framer.DroppedLines(), c.dropped) << c.name;
        EXPECT_EQ(framer.Size(), 0) << c.name;
    }
}
