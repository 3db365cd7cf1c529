#pragma once

namespace Ovrel
{
namespace Utils
{

// Result of every fallible library operation. Callers may rely on 0 meaning success and on
// EOvrelResult_PasswordRequired keeping the value 4; the other values only tell the kind of failure.
enum EOvrelResult
{
    EOvrelResult_OK = 0,
    // An argument is out of its documented range (null pointer, bad size, unknown mode, non-finite number).
    EOvrelResult_InvalidArgument = 1,
    // The file does not exist, is not a regular file or cannot be opened.
    EOvrelResult_FileNotFound = 2,
    // The file exists but is empty, truncated, damaged or of a format that cannot be read.
    EOvrelResult_DecodeFailed = 3,
    // The PDF document is encrypted and the password is missing or wrong.
    EOvrelResult_PasswordRequired = 4,
    // Writing the file failed (unwritable folder, encoder error).
    EOvrelResult_EncodeFailed = 5,
    // The file name extension names no format that can be written.
    EOvrelResult_UnsupportedFormat = 6,
    // The result would exceed the size limit of an image, or memory ran out.
    EOvrelResult_TooLarge = 7,
    // The operation needs pixel data (or vertices) and there are none.
    EOvrelResult_Empty = 8,
    // A required earlier step is missing: no document read, no OCR language data set.
    EOvrelResult_NotInitialised = 9,
    // A page index or a region lies outside of what is there.
    EOvrelResult_OutOfRange = 10,
    // A third-party engine reported a failure that has no better code.
    EOvrelResult_LibraryError = 11,
    // The work took longer than its time limit and was given up (a PDF page that renders for ages).
    EOvrelResult_TimedOut = 12
};

} // namespace Utils
} // namespace Ovrel
