#include "tests/component/pe_image.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
std::string IdKey(DWORD id)
{
    return "#" + std::to_string(id);
}
}  // namespace

PeImage::PeImage(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    m_file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());

    if (m_file.size() < sizeof(IMAGE_DOS_HEADER)) throw std::runtime_error(path + " is too short");
    const auto& dos = *reinterpret_cast<const IMAGE_DOS_HEADER*>(m_file.data());
    const size_t ntOffset = static_cast<size_t>(dos.e_lfanew);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || ntOffset + sizeof(IMAGE_NT_HEADERS32) > m_file.size())
        throw std::runtime_error(path + " has no PE header");
    m_headers = reinterpret_cast<const IMAGE_NT_HEADERS32*>(&m_file[ntOffset]);
    if (m_headers->Signature != IMAGE_NT_SIGNATURE || m_headers->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        throw std::runtime_error(path + " is not a PE32 image");

    const size_t sectionsOffset =
        ntOffset + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + m_headers->FileHeader.SizeOfOptionalHeader;
    if (sectionsOffset + m_headers->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER) > m_file.size())
        throw std::runtime_error(path + " has a cut section table");
    m_sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(&m_file[sectionsOffset]);
}

std::vector<PeImage::Section> PeImage::Sections() const
{
    std::vector<Section> sections;
    for (WORD i = 0; i < m_headers->FileHeader.NumberOfSections; ++i) {
        const IMAGE_SECTION_HEADER& s = m_sections[i];
        std::string name(reinterpret_cast<const char*>(s.Name), IMAGE_SIZEOF_SHORT_NAME);
        name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
        sections.push_back({name, s.Misc.VirtualSize, s.SizeOfRawData, s.Characteristics});
    }
    return sections;
}

const IMAGE_DATA_DIRECTORY& PeImage::Directory(int index) const
{
    static const IMAGE_DATA_DIRECTORY kEmpty = {};
    if (static_cast<DWORD>(index) >= m_headers->OptionalHeader.NumberOfRvaAndSizes) return kEmpty;
    return m_headers->OptionalHeader.DataDirectory[index];
}

// File offset of `size` bytes at `rva`, all inside one section's raw data.
DWORD PeImage::OffsetOf(DWORD rva, DWORD size) const
{
    for (WORD i = 0; i < m_headers->FileHeader.NumberOfSections; ++i) {
        const IMAGE_SECTION_HEADER& s = m_sections[i];
        if (rva < s.VirtualAddress || rva - s.VirtualAddress >= s.SizeOfRawData) continue;
        const DWORD delta = rva - s.VirtualAddress;
        if (size > s.SizeOfRawData - delta) break;
        const DWORD offset = s.PointerToRawData + delta;
        if (offset + size > m_file.size()) break;
        return offset;
    }
    throw std::runtime_error("address " + std::to_string(rva) + " lies outside the file's sections");
}

std::string PeImage::StringAt(DWORD rva) const
{
    std::string text;
    for (DWORD offset = OffsetOf(rva, 1); offset < m_file.size() && m_file[offset]; ++offset) text += m_file[offset];
    return text;
}

std::string PeImage::ExportModuleName() const
{
    const IMAGE_DATA_DIRECTORY& dir = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (!dir.VirtualAddress) return "";
    return StringAt(At<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress).Name);
}

std::vector<PeImage::Export> PeImage::Exports() const
{
    std::vector<Export> exports;
    const IMAGE_DATA_DIRECTORY& dir = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (!dir.VirtualAddress) return exports;
    const auto& table = At<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    for (DWORD i = 0; i < table.NumberOfFunctions; ++i) {
        if (At<DWORD>(table.AddressOfFunctions + 4 * i) == 0) continue;  // a gap in the ordinals
        exports.push_back({"", table.Base + i});
    }
    for (DWORD i = 0; i < table.NumberOfNames; ++i) {
        const DWORD ordinal = table.Base + At<WORD>(table.AddressOfNameOrdinals + 2 * i);
        const std::string name = StringAt(At<DWORD>(table.AddressOfNames + 4 * i));
        for (Export& e : exports) {
            if (e.ordinal == ordinal) e.name = name;
        }
    }
    return exports;
}

std::vector<PeImage::Import> PeImage::Imports() const
{
    std::vector<Import> imports;
    const IMAGE_DATA_DIRECTORY& dir = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (!dir.VirtualAddress) return imports;
    for (DWORD at = dir.VirtualAddress;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto& descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(at);
        if (!descriptor.Name) break;
        Import import{StringAt(descriptor.Name), {}};
        DWORD thunk = descriptor.OriginalFirstThunk ? descriptor.OriginalFirstThunk : descriptor.FirstThunk;
        for (;; thunk += 4) {
            const DWORD value = At<DWORD>(thunk);
            if (!value) break;
            if (value & IMAGE_ORDINAL_FLAG32) import.names.push_back(IdKey(value & 0xFFFF));
            else import.names.push_back(StringAt(value + offsetof(IMAGE_IMPORT_BY_NAME, Name)));
        }
        imports.push_back(import);
    }
    return imports;
}

std::string PeImage::ResourceKey(DWORD rsrc, const IMAGE_RESOURCE_DIRECTORY_ENTRY& entry) const
{
    if (!entry.NameIsString) return IdKey(entry.Id);
    const DWORD at = rsrc + entry.NameOffset;
    const WORD length = At<WORD>(at);
    std::string name;
    for (WORD i = 0; i < length; ++i) name += static_cast<char>(At<WCHAR>(at + 2 + 2 * i));
    return name;
}

// The three levels of the resource tree: type, name, language.
std::vector<PeImage::Resource> PeImage::Resources() const
{
    std::vector<Resource> resources;
    const DWORD rsrc = Directory(IMAGE_DIRECTORY_ENTRY_RESOURCE).VirtualAddress;
    if (!rsrc) return resources;
    auto entriesOf = [&](DWORD at) {
        const auto& dir = At<IMAGE_RESOURCE_DIRECTORY>(at);
        std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> entries;
        const DWORD first = at + sizeof(IMAGE_RESOURCE_DIRECTORY);
        for (DWORD i = 0; i < DWORD{dir.NumberOfNamedEntries} + dir.NumberOfIdEntries; ++i)
            entries.push_back(At<IMAGE_RESOURCE_DIRECTORY_ENTRY>(first + i * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY)));
        return entries;
    };
    for (const auto& type : entriesOf(rsrc)) {
        if (!type.DataIsDirectory) throw std::runtime_error("resource type without names");
        for (const auto& name : entriesOf(rsrc + type.OffsetToDirectory)) {
            if (!name.DataIsDirectory) throw std::runtime_error("resource name without languages");
            for (const auto& language : entriesOf(rsrc + name.OffsetToDirectory)) {
                const auto& leaf = At<IMAGE_RESOURCE_DATA_ENTRY>(rsrc + language.OffsetToData);
                std::string data(&m_file[OffsetOf(leaf.OffsetToData, leaf.Size)], leaf.Size);
                resources.push_back({ResourceKey(rsrc, type), ResourceKey(rsrc, name), language.Id, data});
            }
        }
    }
    return resources;
}
