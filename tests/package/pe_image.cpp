#include "tests/package/pe_image.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
// Offsets into the PE32 headers (the layout is the file format's, fixed).
const size_t kDosLfanew = 0x3C;
const size_t kFileHeaderSize = 20;
const size_t kSectionHeaderSize = 40;
const uint32_t kOptionalMagic32 = 0x10B;
const uint32_t kOrdinalFlag32 = 0x80000000u;
const uint32_t kDirectoryExport = 0, kDirectoryImport = 1, kDirectoryResource = 2, kDirectoryDelayImport = 13;
const uint32_t kDelayDescriptorSize = 32;

std::string IdKey(uint32_t id)
{
    return "#" + std::to_string(id);
}

bool EndsWithDll(const std::string& name)
{
    if (name.size() <= 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return tail == ".dll";
}
}  // namespace

template <typename T>
T PeImage::ReadAt(size_t offset) const
{
    if (offset > m_file.size() || sizeof(T) > m_file.size() - offset)
        throw std::runtime_error("read past the end of the file at " + std::to_string(offset));
    uint64_t value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value |= uint64_t(static_cast<unsigned char>(m_file[offset + i])) << (8 * i);
    return static_cast<T>(value);
}

PeImage::PeImage(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    m_file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());

    if (ReadAt<uint16_t>(0) != 0x5A4D) throw std::runtime_error(path + " has no MZ header");
    const size_t nt = ReadAt<uint32_t>(kDosLfanew);
    if (ReadAt<uint32_t>(nt) != 0x00004550) throw std::runtime_error(path + " has no PE header");
    const size_t fileHeader = nt + 4;
    m_optionalOffset = fileHeader + kFileHeaderSize;
    m_headers.machine = ReadAt<uint16_t>(fileHeader);
    const uint16_t sectionCount = ReadAt<uint16_t>(fileHeader + 2);
    const uint16_t optionalSize = ReadAt<uint16_t>(fileHeader + 16);
    m_headers.characteristics = ReadAt<uint16_t>(fileHeader + 18);
    m_headers.optionalMagic = ReadAt<uint16_t>(m_optionalOffset);
    if (m_headers.optionalMagic != kOptionalMagic32) throw std::runtime_error(path + " is not a PE32 image");
    m_headers.entryPoint = ReadAt<uint32_t>(m_optionalOffset + 16);
    m_headers.majorSubsystemVersion = ReadAt<uint16_t>(m_optionalOffset + 48);
    m_headers.minorSubsystemVersion = ReadAt<uint16_t>(m_optionalOffset + 50);
    m_headers.subsystem = ReadAt<uint16_t>(m_optionalOffset + 68);

    for (uint16_t i = 0; i < sectionCount; ++i) {
        const size_t at = m_optionalOffset + optionalSize + i * kSectionHeaderSize;
        std::string name = m_file.substr(at, 8);
        if (name.size() < 8) throw std::runtime_error(path + " has a cut section table");
        name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
        m_sections.push_back({name, ReadAt<uint32_t>(at + 8), ReadAt<uint32_t>(at + 12), ReadAt<uint32_t>(at + 16),
                              ReadAt<uint32_t>(at + 20), ReadAt<uint32_t>(at + 36)});
    }
}

std::vector<PeImage::Section> PeImage::Sections() const
{
    std::vector<Section> sections;
    for (const SectionEntry& s : m_sections) sections.push_back({s.name, s.virtualSize, s.rawSize, s.characteristics});
    return sections;
}

uint32_t PeImage::DirectoryAddress(uint32_t index) const
{
    const uint32_t count = ReadAt<uint32_t>(m_optionalOffset + 92);
    if (index >= count) return 0;
    return ReadAt<uint32_t>(m_optionalOffset + 96 + 8 * index);
}

// File offset of `size` bytes at `rva`, all inside one section's raw data.
bool PeImage::FindOffset(uint32_t rva, uint32_t size, uint32_t& offset) const
{
    for (const SectionEntry& s : m_sections) {
        if (rva < s.virtualAddress || rva - s.virtualAddress >= s.rawSize) continue;
        const uint32_t delta = rva - s.virtualAddress;
        if (size > s.rawSize - delta) return false;
        const uint64_t at = uint64_t(s.rawOffset) + delta;
        if (at + size > m_file.size()) return false;
        offset = static_cast<uint32_t>(at);
        return true;
    }
    return false;
}

uint32_t PeImage::OffsetOf(uint32_t rva, uint32_t size) const
{
    uint32_t offset = 0;
    if (!FindOffset(rva, size, offset))
        throw std::runtime_error("address " + std::to_string(rva) + " lies outside the file's sections");
    return offset;
}

std::string PeImage::StringAt(uint32_t rva) const
{
    std::string text;
    for (size_t offset = OffsetOf(rva, 1); offset < m_file.size() && m_file[offset]; ++offset) text += m_file[offset];
    return text;
}

std::string PeImage::ExportModuleName() const
{
    const uint32_t dir = DirectoryAddress(kDirectoryExport);
    if (!dir) return "";
    return StringAt(At<uint32_t>(dir + 12));
}

std::vector<PeImage::Export> PeImage::Exports() const
{
    std::vector<Export> exports;
    const uint32_t dir = DirectoryAddress(kDirectoryExport);
    if (!dir) return exports;
    const uint32_t base = At<uint32_t>(dir + 16);
    const uint32_t functionCount = At<uint32_t>(dir + 20), nameCount = At<uint32_t>(dir + 24);
    const uint32_t functions = At<uint32_t>(dir + 28), names = At<uint32_t>(dir + 32);
    const uint32_t ordinals = At<uint32_t>(dir + 36);
    for (uint32_t i = 0; i < functionCount; ++i) {
        if (At<uint32_t>(functions + 4 * i) == 0) continue;  // a gap in the ordinals
        exports.push_back({"", base + i});
    }
    for (uint32_t i = 0; i < nameCount; ++i) {
        const uint32_t ordinal = base + At<uint16_t>(ordinals + 2 * i);
        const std::string name = StringAt(At<uint32_t>(names + 4 * i));
        for (Export& e : exports) {
            if (e.ordinal == ordinal) e.name = name;
        }
    }
    return exports;
}

std::vector<std::string> PeImage::ThunkNames(uint32_t thunk) const
{
    std::vector<std::string> names;
    for (;; thunk += 4) {
        const uint32_t value = At<uint32_t>(thunk);
        if (!value) break;
        if (value & kOrdinalFlag32) names.push_back(IdKey(value & 0xFFFF));
        else names.push_back(StringAt(value + 2));  // after the hint
    }
    return names;
}

std::vector<PeImage::Import> PeImage::Imports() const
{
    std::vector<Import> imports;
    const uint32_t dir = DirectoryAddress(kDirectoryImport);
    if (!dir) return imports;
    for (uint32_t at = dir;; at += 20) {
        const uint32_t originalThunk = At<uint32_t>(at), name = At<uint32_t>(at + 12), firstThunk = At<uint32_t>(at + 16);
        if (!name) break;
        imports.push_back({StringAt(name), ThunkNames(originalThunk ? originalThunk : firstThunk)});
    }
    return imports;
}

bool PeImage::Maps(uint32_t rva, uint32_t size) const
{
    uint32_t offset = 0;
    return FindOffset(rva, size, offset);
}

// A delay-load descriptor: attributes 1 (its fields are addresses in the
// image), then the DLL's name, its module handle's slot, its address table
// and its name table, all inside the file, the name a DLL's.
bool PeImage::IsDelayDescriptor(uint32_t rva) const
{
    if (!Maps(rva, kDelayDescriptorSize) || At<uint32_t>(rva) != 1) return false;
    const uint32_t name = At<uint32_t>(rva + 4), module = At<uint32_t>(rva + 8);
    const uint32_t addresses = At<uint32_t>(rva + 12), names = At<uint32_t>(rva + 16);
    if (!Maps(name, 1) || !Maps(module, 4) || !Maps(addresses, 4) || !Maps(names, 4)) return false;
    const std::string dll = StringAt(name);
    return dll.size() < 64 && EndsWithDll(dll);
}

std::vector<PeImage::Import> PeImage::DelayImports() const
{
    std::vector<Import> imports;
    const auto add = [&](uint32_t at) {
        imports.push_back({StringAt(At<uint32_t>(at + 4)), ThunkNames(At<uint32_t>(at + 16))});
    };
    if (const uint32_t dir = DirectoryAddress(kDirectoryDelayImport)) {
        for (uint32_t at = dir; At<uint32_t>(at + 4); at += kDelayDescriptorSize) add(at);
        return imports;
    }
    for (const SectionEntry& s : m_sections) {
        for (uint32_t at = s.virtualAddress; at + kDelayDescriptorSize <= s.virtualAddress + s.rawSize; at += 4) {
            if (IsDelayDescriptor(at)) add(at);
        }
    }
    return imports;
}

// A resource entry's name field: an id, or (high bit) the offset of a
// counted UTF-16 string.
std::string PeImage::ResourceKey(uint32_t rsrc, uint32_t nameField) const
{
    if (!(nameField & 0x80000000u)) return IdKey(nameField & 0xFFFF);
    const uint32_t at = rsrc + (nameField & 0x7FFFFFFF);
    const uint16_t length = At<uint16_t>(at);
    std::string name;
    for (uint16_t i = 0; i < length; ++i) name += static_cast<char>(At<uint16_t>(at + 2 + 2 * i));
    return name;
}

// The (name field, offset field) pairs of the resource directory at `at`.
std::vector<std::pair<uint32_t, uint32_t>> PeImage::ResourceEntries(uint32_t at) const
{
    const uint32_t count = uint32_t{At<uint16_t>(at + 12)} + At<uint16_t>(at + 14);
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    for (uint32_t i = 0; i < count; ++i) entries.emplace_back(At<uint32_t>(at + 16 + 8 * i), At<uint32_t>(at + 20 + 8 * i));
    return entries;
}

// The three levels of the resource tree: type, name, language.
std::vector<PeImage::Resource> PeImage::Resources() const
{
    const uint32_t kIsDirectory = 0x80000000u;
    std::vector<Resource> resources;
    const uint32_t rsrc = DirectoryAddress(kDirectoryResource);
    if (!rsrc) return resources;
    for (const auto& type : ResourceEntries(rsrc)) {
        if (!(type.second & kIsDirectory)) throw std::runtime_error("resource type without names");
        for (const auto& name : ResourceEntries(rsrc + (type.second & ~kIsDirectory))) {
            if (!(name.second & kIsDirectory)) throw std::runtime_error("resource name without languages");
            for (const auto& language : ResourceEntries(rsrc + (name.second & ~kIsDirectory))) {
                const uint32_t leaf = rsrc + language.second;
                const uint32_t dataRva = At<uint32_t>(leaf), size = At<uint32_t>(leaf + 4);
                std::string data = m_file.substr(OffsetOf(dataRva, size), size);
                resources.push_back({ResourceKey(rsrc, type.first), ResourceKey(rsrc, name.first),
                                     language.first & 0xFFFF, data});
            }
        }
    }
    return resources;
}
