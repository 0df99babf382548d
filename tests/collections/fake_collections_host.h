// A stand-in for the main frame: a set of open documents, an active one with
// a caret, and files that can or cannot be opened.
#ifndef PARCHLY_TESTS_COLLECTIONS_FAKE_COLLECTIONS_HOST_H
#define PARCHLY_TESTS_COLLECTIONS_FAKE_COLLECTIONS_HOST_H

#include "collections/collections_host.h"

#include <QList>
#include <QPair>
#include <QSet>

namespace parchly::test {

class FakeCollectionsHost : public CollectionsHost {
public:
    QString activePath;
    int caretLine = 0;
    int caretColumn = 0;
    QStringList openPaths;
    QSet<QString> missingFiles; // opening these fails
    QStringList openRequests; // every path asked to open, in order
    QList<QPair<int, int>> caretRequests; // every line and column asked for

    QString activeDocumentPath() const override { return activePath; }

    void activeCaretLineColumn(int& line, int& column) const override
    {
        line = caretLine, column = caretColumn;
    }
    void setActiveCaretLineColumn(int line, int column) override { caretRequests << qMakePair(line, column); }

    QStringList openDocumentPaths() const override { return openPaths; }
    bool hasDocumentTabs() const override { return !openPaths.isEmpty(); }

    bool openDocument(const QString& path) override
    {
        openRequests << path;
        if (missingFiles.contains(path))
            return false;
        if (!openPaths.contains(path))
            openPaths << path;
        activePath = path;
        return true;
    }
};

} // namespace parchly::test

#endif
