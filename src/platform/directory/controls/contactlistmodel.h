#pragma once

#include "platform/directory/contactlisting.h"

#include <QAbstractListModel>

#include <map>
#include <memory>

// The rows of a contacts list over a ContactListing: an optional first row for a new contact,
// then the listed contacts, read in pages as a view asks for them. The count is read when the
// rows are first asked for after a new listing, never before; at most kPagesKept pages are
// kept, the least recently shown dropped first.
class ContactListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kPageRows = 256;
    static constexpr int kPagesKept = 32;
    enum Role { ReferenceRole = Qt::UserRole, NewEntryRole };

    explicit ContactListModel(QObject* parent = nullptr);
    ~ContactListModel() override;

    // A new listing (none: an empty list) and whether a new-contact row leads it: the model is
    // reset, and reads nothing until its rows are asked for.
    void SetListing(std::unique_ptr<ContactListing> listing, bool newContactRow);
    ContactListing* Listing() const { return listing_.get(); }
    bool HasNewContactRow() const { return newContactRow_; }
    // Whether the count of the current listing has been read.
    bool Counted() const { return counted_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The reference shown in a row; 0 for the new-contact row, a row past the end or one
    // emptied by a removal elsewhere.
    qint32 ReferenceAt(int row) const;
    // The row of a contact, -1 when it is not listed.
    int RowOf(qint32 reference) const;
    // The first row at or after from, else from the top, whose name begins with text (any
    // case), found through the name index; -1 when none does.
    int FirstBeginningWith(const QString& text, int from) const;

    // What the model has read, for the tests and benchmarks: counts and pages.
    int CountReads() const { return countReads_; }
    int PageReads() const { return pageReads_; }

private:
    struct Page {
        QList<ContactListRow> rows;
        quint64 used = 0;
    };
    void count() const;
    // The listed row (0 the first contact), read with its page when not kept; null past the
    // end of what was read.
    const ContactListRow* row(qint64 listed) const;
    const Page& page(qint64 number) const;
    int leading() const { return newContactRow_ ? 1 : 0; }

    std::unique_ptr<ContactListing> listing_;
    bool newContactRow_ = false;
    mutable bool counted_ = false;
    mutable qint64 count_ = 0;
    mutable std::map<qint64, Page> pages_;
    mutable quint64 uses_ = 0;
    mutable int countReads_ = 0;
    mutable int pageReads_ = 0;
};
