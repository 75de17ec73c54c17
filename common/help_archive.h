#pragma once
// Reading pages, style sheets and images out of the help archive (a zip file)
// by name; names compare without regard to case, as the archive's own pages
// and the program spell them differently.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace help {

// One thread at a time: reads move the archive's own position.
class Archive {
public:
    // Entries larger than this are refused rather than read into memory.
    static constexpr size_t kEntryLimit = 16u << 20;

    Archive() = default;
    explicit Archive(const std::string& path) { open(path); }
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // False when the file is missing or is not a zip archive.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return handle_ != nullptr; }

    bool contains(std::string_view name) const;
    // The entry's bytes; false (and `bytes` empty) when it is missing,
    // damaged or larger than the limit.
    bool read(std::string_view name, std::string& bytes) const;
    // The archive's own spelling of every entry, in archive order.
    const std::vector<std::string>& names() const { return names_; }

private:
    // The archive's spelling of a name, or null.
    const std::string* find(std::string_view name) const;

    void* handle_ = nullptr;   // unzFile
    std::vector<std::string> names_;
};

} // namespace help
