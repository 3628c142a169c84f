#include "platform/ElfSection.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

class TFd {
public:
    explicit TFd(const std::string& name)
        : FFd(::open(name.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~TFd() {
        if (FFd >= 0) ::close(FFd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return FFd; }

private:
    int FFd;
};

// Reads exactly size bytes at offset, within a file of fileSize bytes.
bool ReadAt(int fd, std::uint64_t fileSize, std::uint64_t offset, void* out, std::size_t size) {
    if (offset > fileSize || size > fileSize - offset) return false;
    auto* p = static_cast<std::uint8_t*>(out);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, p + done, size - done, static_cast<off_t>(offset + done));
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

struct TSectionHeader {
    std::uint32_t Name = 0;
    std::uint32_t Type = 0;
    std::uint64_t Offset = 0;
    std::uint64_t Size = 0;
    std::uint32_t Link = 0;
};

template <class Ehdr, class Shdr>
TElfSection ReadSection(int fd, std::uint64_t fileSize, std::string_view wanted, std::size_t maxSize) {
    TElfSection result;
    result.Status = TElfSectionStatus::esDamaged;
    Ehdr eh{};
    if (!ReadAt(fd, fileSize, 0, &eh, sizeof eh)) {
        result.Status = TElfSectionStatus::esNotElf;
        return result;
    }
    if (eh.e_shoff == 0) {
        result.Status = TElfSectionStatus::esNoSection;
        return result;
    }
    if (eh.e_shentsize < sizeof(Shdr)) return result;

    auto header = [&](std::uint64_t index, TSectionHeader& out) {
        Shdr sh{};
        if (!ReadAt(fd, fileSize, eh.e_shoff + index * eh.e_shentsize, &sh, sizeof sh)) return false;
        out = {sh.sh_name, sh.sh_type, sh.sh_offset, sh.sh_size, sh.sh_link};
        return true;
    };

    // Large files keep the true section count and string-table index in section 0.
    std::uint64_t count = eh.e_shnum;
    std::uint64_t names = eh.e_shstrndx;
    if (count == 0 || names == SHN_XINDEX) {
        TSectionHeader first;
        if (!header(0, first)) return result;
        if (count == 0) count = first.Size;
        if (names == SHN_XINDEX) names = first.Link;
    }
    if (eh.e_shoff > fileSize || count > (fileSize - eh.e_shoff) / eh.e_shentsize || names >= count)
        return result;

    TSectionHeader nameTable;
    if (!header(names, nameTable) || nameTable.Type == SHT_NOBITS) return result;
    constexpr std::uint64_t maxNameTable = 16u << 20;
    if (nameTable.Size > maxNameTable) return result;
    std::vector<char> table(static_cast<std::size_t>(nameTable.Size));
    if (!ReadAt(fd, fileSize, nameTable.Offset, table.data(), table.size())) return result;

    for (std::uint64_t i = 0; i < count; ++i) {
        TSectionHeader sh;
        if (!header(i, sh)) return result;
        if (sh.Name >= table.size()) continue;
        const char* name = table.data() + sh.Name;
        const std::size_t room = table.size() - sh.Name;
        const std::size_t length = strnlen(name, room);
        if (length == room || std::string_view(name, length) != wanted) continue;
        if (sh.Type == SHT_NOBITS || sh.Size == 0) {
            result.Status = TElfSectionStatus::esNoSection;
            return result;
        }
        if (sh.Offset > fileSize || sh.Size > fileSize - sh.Offset) return result;
        result.Data.resize(static_cast<std::size_t>(std::min<std::uint64_t>(sh.Size, maxSize)));
        if (!ReadAt(fd, fileSize, sh.Offset, result.Data.data(), result.Data.size())) {
            result.Data.clear();
            return result;
        }
        result.Status = TElfSectionStatus::esOk;
        return result;
    }
    result.Status = TElfSectionStatus::esNoSection;
    return result;
}

} // namespace

TElfSection ReadElfSection(const std::string& fileName, std::string_view sectionName, std::size_t maxSize) {
    TElfSection result;
    const TFd fd(fileName);
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return result;
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);

    unsigned char ident[EI_NIDENT] = {};
    if (!ReadAt(fd.Get(), fileSize, 0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
        ident[EI_DATA] != ELFDATA2LSB) {
        result.Status = TElfSectionStatus::esNotElf;
        return result;
    }
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the headers are read in host byte order");
    if (ident[EI_CLASS] == ELFCLASS64)
        return ReadSection<Elf64_Ehdr, Elf64_Shdr>(fd.Get(), fileSize, sectionName, maxSize);
    if (ident[EI_CLASS] == ELFCLASS32)
        return ReadSection<Elf32_Ehdr, Elf32_Shdr>(fd.Get(), fileSize, sectionName, maxSize);
    result.Status = TElfSectionStatus::esNotElf;
    return result;
}
