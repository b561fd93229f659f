#pragma once

#include <QString>
#include <QTreeWidget>

#include <optional>

// A list of items in report view with column headers that are looked up by key. Column
// widths are in twips.
class ListView : public QTreeWidget {
    Q_OBJECT
public:
    enum class Alignment { Left = 0, Right = 1, Center = 2 };
    // The width a column gets when it is added without one.
    static constexpr int kDefaultColumnWidth = 1440;

    explicit ListView(QWidget* parent = nullptr);

    void ClearColumnHeaders();
    // Appends a column; no width gives the list's default width.
    void AddColumnHeader(const QString& key, const QString& text,
                         std::optional<int> widthTwips = std::nullopt,
                         Alignment alignment = Alignment::Left);
    int ColumnHeaderCount() const { return static_cast<int>(keys_.size()); }
    // 0-based; "" and -1 outside the headers.
    QString ColumnKey(int index) const;
    int ColumnIndexOfKey(const QString& key) const;
    QString ColumnText(int index) const;
    int ColumnWidthTwips(int index) const;
    void SetColumnWidthTwips(int index, int widthTwips);
    Alignment ColumnAlignment(int index) const;

private:
    QStringList keys_;
};
