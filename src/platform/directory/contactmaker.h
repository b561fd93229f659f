#pragma once

#include "platform/directory/contactrecord.h"

#include <QSemaphore>

#include <functional>
#include <memory>
#include <vector>

class DirectoryContact;
class SqliteStatement;

// Makes contacts of the light rows a search reads. At thousands of rows, making each
// contact's texts and object costs as much as SQLite's reading the rows, so full batches
// of rows are copied as they are read and made into contacts on a worker thread while this
// one reads on; a search of fewer rows than a batch never leaves this thread.
class ContactMaker {
public:
    // Runs on a worker thread too: it may use nothing but the record and what it holds by
    // value or never changes while the search runs.
    using Make = std::function<std::shared_ptr<DirectoryContact>(ContactRecord&&)>;
    static constexpr int kBatchRows = 512;

    explicit ContactMaker(const Make& make);
    // Waits for every batch handed to a worker.
    ~ContactMaker();
    ContactMaker(const ContactMaker&) = delete;
    ContactMaker& operator=(const ContactMaker&) = delete;

    // Takes the statement's current row (ContactLightRow's columns).
    void Add(const SqliteStatement& row);
    // Every contact, in the order their rows were added.
    std::vector<std::shared_ptr<DirectoryContact>> Finish();

private:
    struct Batch;

    void waitForWorkers();

    const Make& make_;
    std::vector<std::unique_ptr<Batch>> batches_;
    QSemaphore made_;
    int handedOut_ = 0;
};
