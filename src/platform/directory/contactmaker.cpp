#include "platform/directory/contactmaker.h"

#include "platform/directory/contactlightrow.h"
#include "platform/system/sqlitestatement.h"

#include <QMutex>
#include <QThreadPool>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {
// Workers of their own: a search never waits behind other work given to Qt's shared pool.
class MakerPool : public QThreadPool {
public:
    MakerPool() { setMaxThreadCount(2); }
};
Q_GLOBAL_STATIC(MakerPool, makerPool)

using Numbers = std::array<qint64, ContactLightRow::kNumberColumns.size()>;

// Buffers of finished batches, kept for the next search: fresh memory for every batch cost
// the system a page fault per page written. At most a few, each of about a batch's size.
class SpareBuffers {
public:
    std::string Take() {
        const QMutexLocker lock(&mutex_);
        if (spare_.empty()) {
            return std::string(kFirstSize, '\0');
        }
        std::string buffer = std::move(spare_.back());
        spare_.pop_back();
        return buffer;
    }
    void Give(std::string buffer) {
        const QMutexLocker lock(&mutex_);
        if (spare_.size() < kKept && buffer.size() <= kLargestKept) {
            spare_.push_back(std::move(buffer));
        }
    }

    static constexpr std::size_t kFirstSize = 128 * 1024;

private:
    static constexpr std::size_t kLargestKept = 1024 * 1024;
    static constexpr std::size_t kKept = 8;
    QMutex mutex_;
    std::vector<std::string> spare_;
};
Q_GLOBAL_STATIC(SpareBuffers, spareBuffers)

std::string takeBuffer() {
    SpareBuffers* spare = spareBuffers();
    return spare != nullptr ? spare->Take() : std::string(SpareBuffers::kFirstSize, '\0');
}

template <typename T> void put(char*& out, const T& value) {
    std::memcpy(out, &value, sizeof value);
    out += sizeof value;
}
template <typename T> T get(const char*& at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return value;
}
} // namespace

// Rows copied out of SQLite one after another: each row's numbers, then each text's size in
// bytes (-1 for NULL, which the record keeps apart from '') and its UTF-8. The buffer's size
// is its room; used says how much of it holds rows.
struct ContactMaker::Batch {
    std::string rows = takeBuffer();
    std::size_t used = 0;
    int count = 0;
    std::vector<std::shared_ptr<DirectoryContact>> made;

    ~Batch() {
        if (SpareBuffers* spare = spareBuffers()) { // none once the program is ending
            spare->Give(std::move(rows));
        }
    }

    void make(const Make& make) {
        made.reserve(std::size_t(count));
        const char* at = rows.data();
        for (int n = 0; n < count; ++n) {
            ContactRecord r;
            const auto numbers = get<Numbers>(at);
            for (QString ContactRecord::*field : ContactLightRow::kTexts) {
                const auto size = get<qint32>(at);
                r.*field =
                    SqliteStatement::TextOf(size < 0 ? QByteArrayView() : QByteArrayView(at, size));
                at += size > 0 ? size : 0;
            }
            ContactLightRow::SetNumbers(r, numbers);
            made.push_back(make(std::move(r)));
        }
    }
};

ContactMaker::ContactMaker(const Make& make) : make_(make) {}

ContactMaker::~ContactMaker() {
    waitForWorkers();
}

void ContactMaker::Add(const SqliteStatement& row) {
    if (batches_.empty() || batches_.back()->count == kBatchRows) {
        if (!batches_.empty()) {
            Batch* full = batches_.back().get();
            // The batch and make_ outlive the task: nothing is freed before the workers are
            // waited for.
            makerPool()->start([this, full] {
                full->make(make_);
                made_.release();
            });
            ++handedOut_;
        }
        batches_.push_back(std::make_unique<Batch>());
    }
    Batch& batch = *batches_.back();
    Numbers numbers;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = row.Int64(ContactLightRow::kNumberColumns[i]);
    }
    std::array<QByteArrayView, ContactLightRow::kTexts.size()> texts;
    std::size_t size = sizeof numbers + texts.size() * sizeof(qint32);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = row.Utf8(ContactLightRow::kFirstText + static_cast<int>(i));
        size += std::size_t(texts[i].size());
    }
    // One growth check per row; the bytes are then copied straight in.
    if (batch.used + size > batch.rows.size()) {
        batch.rows.resize(std::max(batch.rows.size() * 2, batch.used + size));
    }
    char* out = batch.rows.data() + batch.used;
    batch.used += size;
    put(out, numbers);
    for (const QByteArrayView& text : texts) {
        put(out, text.isNull() ? qint32(-1) : static_cast<qint32>(text.size()));
        if (!text.isEmpty()) {
            std::memcpy(out, text.data(), std::size_t(text.size()));
            out += text.size();
        }
    }
    ++batch.count;
}

std::vector<std::shared_ptr<DirectoryContact>> ContactMaker::Finish() {
    if (!batches_.empty()) {
        batches_.back()->make(make_); // the last batch, while the workers finish theirs
    }
    waitForWorkers();
    std::vector<std::shared_ptr<DirectoryContact>> all;
    std::size_t count = 0;
    for (const auto& b : batches_) {
        count += b->made.size();
    }
    all.reserve(count);
    for (const auto& b : batches_) {
        std::move(b->made.begin(), b->made.end(), std::back_inserter(all));
    }
    batches_.clear();
    return all;
}

void ContactMaker::waitForWorkers() {
    made_.acquire(handedOut_);
    handedOut_ = 0;
}
