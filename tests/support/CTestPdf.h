#pragma once

#include <QByteArray>
#include <QList>

// Hand-made PDF files for tests that need a page Poppler cannot render, or other bytes no generator writes.
class CTestPdf
{
public:
    // A PDF of the given objects (numbered from 1; the first is the catalog) with its cross-reference table.
    static QByteArray Build(const QList<QByteArray>& objects);
};
