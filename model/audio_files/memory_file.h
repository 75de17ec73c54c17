#pragma once
// A whole file, or a buffer being filled, held in memory. Every whole-file
// reader works through it; no read ever passes `end`.

#include <cstddef>
#include <cstdint>
#include <string>

class TesselMemoryFile {
public:
    uint8_t* data = nullptr;
    uint32_t size = 0;
    uint8_t* end = nullptr;      // data + size
    uint8_t* position = nullptr; // data <= position <= end

    // No song, sample or instrument file comes near this; a bigger one is
    // damaged or hostile and would only take the host's memory.
    static constexpr uint32_t kMaxLoadSize = 1u << 30;

    TesselMemoryFile() = default;
    ~TesselMemoryFile() { free(); }
    TesselMemoryFile(const TesselMemoryFile&) = delete;
    TesselMemoryFile& operator=(const TesselMemoryFile&) = delete;
    // Moving hands the buffer (and its lock) over and leaves the source empty.
    TesselMemoryFile(TesselMemoryFile&& other) noexcept { take(other); }
    TesselMemoryFile& operator=(TesselMemoryFile&& other) noexcept
    {
        if (this != &other) {
            free();
            take(other);
        }
        return *this;
    }

    // Reads the whole file (size 0) or exactly `size` bytes into a buffer that
    // stays locked in physical memory until freed. A short read is not
    // reported; more than kMaxLoadSize bytes are refused.
    bool load(const std::string& path, uint32_t size = 0);
    // Copies bytes into a fresh buffer, position at its start (for data that
    // did not come from a file: an entry read from an archive, a test text).
    bool assign(const void* bytes, uint32_t size);
    void free();
    // A fresh uncleared buffer for writing; position at its start.
    bool allocate(uint32_t size);

    bool putByte(uint8_t value);
    // All or nothing: when size x count bytes do not fit, the position goes to
    // `end` and nothing is copied.
    bool write(const void* bytes, size_t size, size_t count);
    // Little-endian, byte by byte; bytes already stored stay when one does not fit.
    bool put16(uint32_t value);
    bool put24(uint32_t value);
    bool put32(uint32_t value);

    // n (1..4) bytes little-endian; bytes beyond `end` read as 0.
    uint32_t readUInt(int n);
    // Copies n bytes when they lie inside the buffer; otherwise copies nothing
    // and moves the position to `end`, which is how a caller sees the refusal.
    void read(void* destination, uint32_t n);

    // Text cursor, never passing `end`.
    // Scans up to `limit` characters until `stop`; the buffer (of `limit`
    // bytes) receives at most limit - 1 of them. Stops on the stop character.
    void readUntil(char* buffer, char stop, int limit);
    // The run of ASCII letters and digits, cut to kNameLength characters in a
    // buffer of kNameLength + 1; the position passes the whole run.
    static constexpr int kNameLength = 31;
    void readName(char* buffer);
    // Steps past the literal when the bytes at the position equal it.
    bool match(const char* literal);

    size_t remaining() const { return static_cast<size_t>(end - position); }
    bool atEnd() const { return position >= end; }
    bool canRead(size_t n) const { return n <= remaining(); }
    size_t offset() const { return static_cast<size_t>(position - data); }
    // Moves to an offset from the start, clamped to `end`.
    void seek(size_t offset);
    // Advances by n, stopping at `end`.
    void skip(size_t n);

private:
    void take(TesselMemoryFile& other) noexcept
    {
        data = other.data;
        size = other.size;
        end = other.end;
        position = other.position;
        locked_ = other.locked_;
        other.data = other.end = other.position = nullptr;
        other.size = 0;
        other.locked_ = false;
    }

    bool locked_ = false;
};
