#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

#include <QString>
#include <QStringList>

// The parameters of the OCR tool: the language code ("eng" at first; codes may be joined with '+'), the folder of the
// language data (a tessdata folder; at first the one DefaultLanguagePath finds) and the resolution the engine assumes
// (144 dpi at first). Each setter stores and logs the value; the model emits nothing.
class OVRELCOMMON_EXPORT CImage2DProcessOCRModel : public CModel
{
    Q_OBJECT
public:
    explicit CImage2DProcessOCRModel(QObject* parent = nullptr);

    QString GetLanguageCode() const { return m_strLanguageCode; }
    QString GetLanguagePath() const { return m_strLanguagePath; }
    int GetUserDefinedDpi() const { return m_nUserDefinedDpi; }

    void SetLanguageCode(const QString& strCode);
    void SetLanguagePath(const QString& strPath);
    void SetUserDefinedDpi(int nDpi);

    // The first folder of the list that holds "<code>.traineddata"; the first folder of the list when none does
    // (empty for an empty list).
    static QString FindLanguagePath(const QStringList& lstFolders, const QString& strCode);
    // Where the English data is installed: FindLanguagePath over the folder TESSDATA_PREFIX names (and its "tessdata"
    // folder), a "tessdata" folder next to the program, and the folders Debian's and Tesseract's own installs use
    // (/usr/share/tesseract-ocr/5/tessdata first).
    static QString DefaultLanguagePath();

private:
    QString m_strLanguageCode = "eng";
    QString m_strLanguagePath;
    int m_nUserDefinedDpi = 144;
};
