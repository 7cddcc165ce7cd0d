// CDmxFile: loads a whole file into memory, for the StandAlone page's scene file. It owns the
// block it read and frees it in Release or its destructor.
#pragma once

#include <memory>

#include "platform/os/CString.h"
#include "platform/os/WinTypes.h"

class CDmxFile {
public:
    CDmxFile() = default;
    virtual ~CDmxFile();
    CDmxFile(const CDmxFile&) = delete;
    CDmxFile& operator=(const CDmxFile&) = delete;

    // Reads the whole file. False when it cannot be opened or read, is no regular file, is larger
    // than 2 GiB, or no block for it can be had; the loader then holds no data.
    bool Load(CString path);
    // As Load, and false with `tooLarge` set when the opened file holds more than maxSize bytes
    // (it is not read then).
    bool Load(CString path, LONG maxSize, bool& tooLarge);
    LONG GetSize() const { return m_nSize; }
    // `index` must be below GetSize().
    char GetAt(LONG index) const { return m_pData[index]; }
    // The whole block, GetSize() bytes; null when nothing is loaded.
    const char* GetData() const { return m_pData.get(); }
    // Frees the block (the size becomes 0); true when there was one.
    bool Release();

private:
    CString m_strPath;
    std::unique_ptr<char[]> m_pData;
    LONG m_nSize = 0;
};
