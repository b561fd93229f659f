#pragma once

#include <QtGlobal>

#include <memory>

class MessagesStorage;

// The mend a schema step leaves to do on the rows it names: each row's columns and keys read
// again from its own bytes. It goes through the rows in transactions of a few hundred rows or
// a fifth of a second, whichever ends first, keeping its place in the file under the write
// lock, so another computer may take part in it or go on writing between two of them, and a
// mend cut short goes on at the next open. False when one of them could not be done.
struct ColumnsMendReport {
    int Mended = 0;
    int Transactions = 0;
    qint64 LongestTransactionMs = 0;
};
bool MendDerivedColumns(const std::shared_ptr<MessagesStorage>& storage, int batchRows = 250,
                        int batchMs = 200, ColumnsMendReport* report = nullptr);
