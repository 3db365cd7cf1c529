#include "CTestPdf.h"

QByteArray CTestPdf::Build(const QList<QByteArray>& objects)
{
    QByteArray pdf("%PDF-1.4\n");
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i)
    {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const int nTable = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int nOffset : offsets)
        pdf += QByteArray::number(nOffset).rightJustified(10, '0') + " 00000 n \n";
    return pdf + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(nTable) + "\n%%EOF\n";
}
