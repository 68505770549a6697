#pragma once
// A read-only view of a 32-bit PE file: what the loader and the system see
// of our binaries (headers, sections, exports, imports, resources). Plain
// C++ that runs on the build machine, so the deliverables are checked as
// files wherever they are built.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PeImage {
public:
    struct HeaderFields {
        uint16_t machine;
        uint16_t characteristics;
        uint16_t optionalMagic;
        uint32_t entryPoint;
        uint16_t majorSubsystemVersion;
        uint16_t minorSubsystemVersion;
        uint16_t subsystem;
    };
    struct Section {
        std::string name;
        uint32_t virtualSize;
        uint32_t rawSize;
        uint32_t characteristics;
    };
    struct Export {
        std::string name;  // empty for an export by ordinal only
        uint32_t ordinal;
        bool operator==(const Export& other) const { return name == other.name && ordinal == other.ordinal; }
    };
    struct Import {
        std::string dll;
        std::vector<std::string> names;  // "#n" for an import by ordinal
    };
    struct Resource {
        std::string type;  // "#n" for a numeric id
        std::string name;  // "#n" for a numeric id
        uint32_t language;
        std::string data;
    };

    // Throws std::runtime_error when the file cannot be read or is not PE32.
    explicit PeImage(const std::string& path);

    size_t FileSize() const { return m_file.size(); }
    const HeaderFields& Headers() const { return m_headers; }
    std::vector<Section> Sections() const;
    std::string ExportModuleName() const;
    std::vector<Export> Exports() const;
    std::vector<Import> Imports() const;
    // The DLLs loaded on first use. MinGW's delay-import libraries leave the
    // data directory's entry empty, so their descriptors are found by their
    // shape as well.
    std::vector<Import> DelayImports() const;
    std::vector<Resource> Resources() const;

private:
    struct SectionEntry {
        std::string name;
        uint32_t virtualSize, virtualAddress, rawSize, rawOffset, characteristics;
    };

    template <typename T>
    T ReadAt(size_t offset) const;  // little-endian, bounds-checked
    template <typename T>
    T At(uint32_t rva) const { return ReadAt<T>(OffsetOf(rva, sizeof(T))); }
    bool FindOffset(uint32_t rva, uint32_t size, uint32_t& offset) const;
    uint32_t OffsetOf(uint32_t rva, uint32_t size) const;
    uint32_t DirectoryAddress(uint32_t index) const;
    bool Maps(uint32_t rva, uint32_t size) const;
    std::string StringAt(uint32_t rva) const;
    std::vector<std::string> ThunkNames(uint32_t thunk) const;
    bool IsDelayDescriptor(uint32_t rva) const;
    std::string ResourceKey(uint32_t rsrc, uint32_t nameField) const;
    std::vector<std::pair<uint32_t, uint32_t>> ResourceEntries(uint32_t at) const;

    std::string m_file;
    HeaderFields m_headers{};
    size_t m_optionalOffset = 0;
    std::vector<SectionEntry> m_sections;
};
