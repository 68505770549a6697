#pragma once
// A read-only view of a 32-bit PE file: what the loader and the system see
// of our binaries (headers, sections, exports, imports, resources).
#include <windows.h>

#include <string>
#include <vector>

class PeImage {
public:
    struct Section {
        std::string name;
        DWORD virtualSize;
        DWORD rawSize;
        DWORD characteristics;
    };
    struct Export {
        std::string name;  // empty for an export by ordinal only
        DWORD ordinal;
        bool operator==(const Export& other) const { return name == other.name && ordinal == other.ordinal; }
    };
    struct Import {
        std::string dll;
        std::vector<std::string> names;  // "#n" for an import by ordinal
    };
    struct Resource {
        std::string type;  // "#n" for a numeric id
        std::string name;  // "#n" for a numeric id
        DWORD language;
        std::string data;
    };

    // Throws std::runtime_error when the file cannot be read or is not PE32.
    explicit PeImage(const std::string& path);

    size_t FileSize() const { return m_file.size(); }
    const IMAGE_NT_HEADERS32& Headers() const { return *m_headers; }
    std::vector<Section> Sections() const;
    std::string ExportModuleName() const;
    std::vector<Export> Exports() const;
    std::vector<Import> Imports() const;
    std::vector<Resource> Resources() const;

private:
    const IMAGE_DATA_DIRECTORY& Directory(int index) const;
    DWORD OffsetOf(DWORD rva, DWORD size) const;
    template <typename T>
    const T& At(DWORD rva) const
    {
        return *reinterpret_cast<const T*>(&m_file[OffsetOf(rva, sizeof(T))]);
    }
    std::string StringAt(DWORD rva) const;
    std::string ResourceKey(DWORD rsrc, const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry) const;

    std::vector<char> m_file;
    const IMAGE_NT_HEADERS32* m_headers = nullptr;
    const IMAGE_SECTION_HEADER* m_sections = nullptr;
};
