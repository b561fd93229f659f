#pragma once

#include <QHash>
#include <QPixmap>
#include <QWidget>

#include <vector>

class QLabel;

// The window shown while the client starts: version, legal notice, the current step and a
// row of status icons that turn "on" as each stage succeeds.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

    bool Floating() const { return floating_; }
    void SetFloating(bool newVal);

    int NumberIcons() const { return numberIcons_; }
    void SetNumberIcons(int vNewValue);

    void SetIconInfo(int IconIndex, const QString& IconReference, const QString& IconDescription);

    int LastIconChangedIndex() const { return lastIconChangedIndex_; }
    void SetLastIconChangedIndex(int vNewValue) { lastIconChangedIndex_ = vNewValue; }

    // The current start-up step; the window repaints at once, as start-up keeps the thread busy.
    void SetCurrentAction(const QString& caption);

    QLabel* lblVersion = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblCurrentAction = nullptr;

    // The icon and caption controls, element i for icon i (element 0 unused).
    QLabel* imgIcon(int index) const;
    QLabel* lblIconDescription(int index) const;
    // The key of the picture icon i shows ("" for none).
    QString IconPictureKey(int index) const;

    static constexpr double kIconTwips = 480.0;
    static constexpr double kLabelHeightTwips = 255.0;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ensureElement(int index);

    bool floating_ = false;
    int numberIcons_ = 0;
    int lastIconChangedIndex_ = 0;
    std::vector<QLabel*> icons_{nullptr};
    std::vector<QLabel*> labels_{nullptr};
    std::vector<QString> iconKeys_{QString()};
    QHash<QString, QPixmap> imgIconList_;
};
