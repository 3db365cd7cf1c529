#pragma once

class CDatasetImageEntry;

// Hears of the validation changes of many entries at once: a list of 200,000 images would otherwise need a signal
// connection per entry, which costs more memory than the entry itself.
class CDatasetImageListener
{
public:
    virtual ~CDatasetImageListener() = default;

    // Called after the entry emitted signal_ChangeValidation.
    virtual void ImageValidationChanged(CDatasetImageEntry* pEntry) = 0;

protected:
    CDatasetImageListener() = default;
    CDatasetImageListener(const CDatasetImageListener&) = default;
    CDatasetImageListener& operator=(const CDatasetImageListener&) = default;
};
