#pragma once

#include <QString>

// A website entry of the directory: its address and title, set before it is added.
class DirectoryWebsite {
public:
    qint32 Reference() const { return reference_; }
    const QString& Address() const { return address_; }
    void SetAddress(const QString& address) { address_ = address; }
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    // The text of its menu entry: the title, or the address when it has none.
    QString Caption() const { return title_.trimmed().isEmpty() ? address_ : title_; }

    void SetReference(qint32 reference) { reference_ = reference; }

private:
    qint32 reference_ = 0;
    QString address_;
    QString title_;
};
