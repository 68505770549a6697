#include "memo/journalformat.h"

#include <cstring>

namespace {
const char kSignature[8] = {'M', 'V', 'P', 'J', 'R', 'N', 'L', '4'};
// Journals of the versions before: the first did not record its copy, the
// second held the text only as a save stores it, the third named no
// computer.
const char kFirstSignature[8] = {'M', 'V', 'P', 'J', 'R', 'N', 'L', '1'};
const char kSecondSignature[8] = {'M', 'V', 'P', 'J', 'R', 'N', 'L', '2'};
const char kThirdSignature[8] = {'M', 'V', 'P', 'J', 'R', 'N', 'L', '3'};

void PutNumber(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutBytes(std::string& out, const std::string& bytes)
{
    PutNumber(out, bytes.size(), 4);
    out += bytes;
}

// Reads forward through the bytes; any read past the end makes it fail for
// good.
class Reader {
public:
    explicit Reader(const std::string& bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    size_t position() const { return m_position; }

    uint64_t Number(int bytes)
    {
        if (!Has(bytes)) return 0;
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value |= static_cast<uint64_t>(static_cast<unsigned char>(m_bytes[m_position + i])) << (8 * i);
        }
        m_position += bytes;
        return value;
    }
    std::string Bytes()
    {
        uint64_t length = Number(4);
        if (!Has(length)) return {};
        std::string bytes = m_bytes.substr(m_position, length);
        m_position += length;
        return bytes;
    }
    std::u16string Characters()
    {
        uint64_t count = Number(4);
        if (!Has(count * 2)) return {};
        std::u16string characters(count, u'\0');
        for (char16_t& c : characters) c = static_cast<char16_t>(Number(2));
        return characters;
    }

private:
    bool Has(uint64_t count)
    {
        if (m_ok && count <= m_bytes.size() - m_position) return true;
        m_ok = false;
        return false;
    }
    const std::string& m_bytes;
    size_t m_position = 0;
    bool m_ok = true;
};
}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc)
{
    static uint32_t table[256];
    if (table[1] == 0) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
    }
    const unsigned char* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string EncodeJournal(const JournalRecord& record)
{
    std::string out(kSignature, sizeof(kSignature));
    out.reserve(record.text.size() + 2 * record.wide.size() + record.memo.size() + record.account.size() +
                record.folder.size() + record.computer.size() + 64);
    PutBytes(out, record.memo);
    PutNumber(out, record.base.present ? 1 : 0, 1);
    PutNumber(out, record.base.size, 8);
    PutNumber(out, record.base.writeTime, 8);
    PutNumber(out, record.writtenAt, 8);
    PutBytes(out, record.account);
    PutBytes(out, record.folder);
    PutBytes(out, record.computer);
    PutBytes(out, record.text);
    PutNumber(out, record.wide.size(), 4);
    size_t at = out.size();
    out.resize(at + 2 * record.wide.size());
    for (char16_t c : record.wide) {
        out[at++] = static_cast<char>(c & 0xFF);
        out[at++] = static_cast<char>(c >> 8);
    }
    PutNumber(out, Crc32(out.data(), out.size()), 4);
    return out;
}

namespace {
bool HasSignature(const std::string& bytes, const char (&signature)[8])
{
    return bytes.size() >= sizeof(signature) && memcmp(bytes.data(), signature, sizeof(signature)) == 0;
}

// What a journal's signature says it holds.
struct Layout {
    bool known = false;
    bool copy = false;        // the account and folder
    bool characters = false;  // the characters after the text
    bool computer = false;
};

Layout LayoutOf(const std::string& bytes)
{
    Layout layout;
    if (HasSignature(bytes, kSignature)) return {true, true, true, true};
    if (HasSignature(bytes, kThirdSignature)) return {true, true, true, false};
    if (HasSignature(bytes, kSecondSignature)) return {true, true, false, false};
    if (HasSignature(bytes, kFirstSignature)) layout.known = true;
    return layout;
}

// Everything before the text; `present` as stored, for the caller to check.
JournalRecord ReadHead(Reader& reader, const Layout& layout, uint64_t& present)
{
    JournalRecord record;
    reader.Number(sizeof(kSignature));
    record.memo = reader.Bytes();
    present = reader.Number(1);
    record.base.present = present == 1;
    record.base.size = reader.Number(8);
    record.base.writeTime = reader.Number(8);
    record.writtenAt = reader.Number(8);
    if (layout.copy) {
        record.account = reader.Bytes();
        record.folder = reader.Bytes();
    }
    if (layout.computer) record.computer = reader.Bytes();
    return record;
}
}  // namespace

std::optional<JournalRecord> DecodeJournalOwner(const std::string& head)
{
    const Layout layout = LayoutOf(head);
    if (!layout.copy) return std::nullopt;
    Reader reader(head);
    uint64_t present = 0;
    JournalRecord record = ReadHead(reader, layout, present);
    if (!reader.ok() || present > 1) return std::nullopt;
    return record;
}

std::optional<JournalRecord> DecodeJournal(const std::string& bytes)
{
    const Layout layout = LayoutOf(bytes);
    if (bytes.size() < sizeof(kSignature) + 4 || !layout.known) return std::nullopt;
    Reader reader(bytes);
    uint64_t present = 0;
    JournalRecord record = ReadHead(reader, layout, present);
    record.text = reader.Bytes();
    if (layout.characters) record.wide = reader.Characters();
    size_t checked = reader.position();
    uint64_t crc = reader.Number(4);
    if (!reader.ok() || present > 1 || reader.position() != bytes.size()) return std::nullopt;
    if (crc != Crc32(bytes.data(), checked)) return std::nullopt;
    return record;
}

std::string FileSafeName(const std::string& name)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string safe;
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= 'a' && byte <= 'z') || byte == '-';
        if (plain) {
            safe.push_back(c);
            continue;
        }
        safe.push_back('_');
        safe.push_back(kHex[byte >> 4]);
        safe.push_back(kHex[byte & 0xF]);
    }
    return safe;
}

std::string JournalFileName(const std::string& computer)
{
    return "~memojournal-" + FileSafeName(computer) + ".bin";
}
