#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <utility>

class QObject;
class SingleInstance;

// The program-wide application services: the run's log settings, the one running copy and a
// few text routines shared by every part of the program.
class AppServices {
public:
    static AppServices& Instance();

    void SetAppObject(QObject* app) { appObject_ = app; }
    QObject* AppObject() const { return appObject_; }

    qint32 DebugLevel() const { return debugLevel_; }
    void SetDebugLevel(qint32 level) { debugLevel_ = level; }

    const QString& DebugFolder() const { return debugFolder_; }
    void SetDebugFolder(const QString& folder) { debugFolder_ = folder; }

    // The start-up progress text; shown wherever a listener (the splash) puts it.
    const QString& StatusText() const { return statusText_; }
    void SetStatusText(const QString& text);
    void SetStatusListener(std::function<void(const QString&)> listener) {
        statusListener_ = std::move(listener);
    }

    // True when another copy of the program runs for this user. Every copy takes the
    // single-instance lock on the first ask and holds it for its life.
    bool PrevInstance();

    // Back to the state of a fresh run.
    void Reset();

    // Right-aligns text in width characters of fill; a longer text is returned whole.
    static QString PadLeft(const QString& text, int width, const QString& fill);
    // Leading fill characters up to width (PadText("7", 2, "0") = "07").
    static QString PadText(const QString& text, int width, const QString& fill);
    // The text from start (1-based) up to the next separator, or the rest when there is
    // none; sepPos receives that separator's position (1-based), 0 when there is none.
    static QString NextToken(const QString& text, qsizetype start, const QString& separator,
                             qsizetype* sepPos = nullptr);
    static QString CleanText(const QString& text) { return text; }
    static QString DecodeText(const QString& text) { return text; }
    static QString DecodeText(QString&& text) { return std::move(text); }
    // For number-only boxes: a digit or an editing key passes; any other key gives 0.
    static int FilterNumericKey(int keyAscii, int mode);
    // Text made comparable with another: mode 1 (phone numbers and the names that repeat them)
    // lower-cases it and leaves out blanks, double quotes, angle and round brackets, dots and
    // hyphens. Any other mode gives the text unchanged.
    static QString NormaliseForCompare(const QString& text, int mode);
    template <typename T> static T Clamp(T value, T low, T high) {
        return value < low ? low : (value > high ? high : value);
    }
    static double MaxDouble(double a, double b) { return a > b ? a : b; }
    static qint32 MaxLong(qint32 a, qint32 b) { return a > b ? a : b; }
    // Creates or replaces the file with exactly the text (UTF-8), through a temporary name.
    static bool WriteTextFile(const QString& path, int mode, const QString& text);

private:
    AppServices();
    ~AppServices();

    QObject* appObject_ = nullptr;
    qint32 debugLevel_ = 0;
    QString debugFolder_;
    QString statusText_;
    std::function<void(const QString&)> statusListener_;
    std::unique_ptr<SingleInstance> instance_;
};
