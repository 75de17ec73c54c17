#pragma once
// The ASIO driver list that PortAudio's ASIO back end calls into: installed
// drivers listed from a source, one current driver, and forwarding calls that
// answer -1000 with cleared outputs when no driver is loaded. There is no ASIO
// on this platform: the program's source is empty, tests plug in a fake.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

using AsioError = int32_t;
constexpr AsioError kAsioOk = 0;
constexpr AsioError kAsioNotPresent = -1000;
constexpr int kAsioErrorNullBuffer = -5001;
constexpr int kAsioErrorNoDriver = -5003;

constexpr size_t kAsioNameSize = 128;        // a node's name
constexpr size_t kAsioPathSize = 512;        // a node's driver file
constexpr size_t kAsioShownNameSize = 32;    // what asioDriverName hands out

struct AsioDriverInfo {
    int32_t driverVersion = 0;
    char name[32] = {};
    char errorMessage[124] = {};
    void* sysRef = nullptr;
};

struct AsioChannelInfo {
    int32_t channel = 0;
    int32_t isInput = 0;
    int32_t isActive = 0;
    int32_t channelGroup = 0;
    int32_t type = 0;
    char name[32] = {};
};

struct AsioBufferInfo {
    int32_t isInput = 0;
    int32_t channelNum = 0;
    void* buffers[2] = {};
};

struct AsioCallbacks;   // the back end's callback record, passed through untouched

// One loaded driver: the operations of the driver interface after its COM slots.
class AsioDriver {
public:
    virtual ~AsioDriver() = default;
    virtual bool init(void* sysHandle) = 0;
    virtual std::string driverName() = 0;
    virtual int32_t driverVersion() = 0;
    virtual std::string errorMessage() = 0;
    virtual AsioError start() = 0;
    virtual AsioError stop() = 0;
    virtual AsioError getChannels(int32_t* inputs, int32_t* outputs) = 0;
    virtual AsioError getLatencies(int32_t* input, int32_t* output) = 0;
    virtual AsioError getBufferSize(int32_t* minSize, int32_t* maxSize, int32_t* preferred,
                                    int32_t* granularity) = 0;
    virtual AsioError canSampleRate(double rate) = 0;
    virtual AsioError getSampleRate(double* rate) = 0;
    virtual AsioError setSampleRate(double rate) = 0;
    virtual AsioError getSamplePosition(int64_t* position, int64_t* timeStamp) = 0;
    virtual AsioError getChannelInfo(AsioChannelInfo* info) = 0;
    virtual AsioError createBuffers(AsioBufferInfo* infos, int32_t count, int32_t bufferSize,
                                    AsioCallbacks* callbacks) = 0;
    virtual AsioError disposeBuffers() = 0;
    virtual AsioError controlPanel() = 0;
    virtual AsioError outputReady() = 0;
};

// What the system registers about one driver.
struct AsioDriverEntry {
    std::string keyName;        // the registration's own name
    std::string description;    // empty when the registration has none
    uint8_t classId[16] = {};
    std::string serverPath;     // empty when the class is not registered
};

class AsioDriverSource {
public:
    virtual ~AsioDriverSource() = default;
    virtual std::vector<AsioDriverEntry> scan() = 0;
    // Null when the driver cannot be instantiated.
    virtual std::unique_ptr<AsioDriver> create(const AsioDriverEntry& entry) = 0;
};

// The program's source: this platform has no ASIO drivers.
std::unique_ptr<AsioDriverSource> makeSystemAsioSource();

class AsioDriverList {
public:
    explicit AsioDriverList(std::unique_ptr<AsioDriverSource> source);
    ~AsioDriverList();
    AsioDriverList(const AsioDriverList&) = delete;
    AsioDriverList& operator=(const AsioDriverList&) = delete;

    int count() const { return static_cast<int>(nodes_.size()); }
    int currentNumber() const { return current_; }

    int asioDriverName(int number, char* buffer) const;
    int asioDriverNames(char** names, int max) const;
    bool asioOpenDriver(const std::string& name);
    void asioReleaseDriver();

    // Forwarding, one per driver operation.
    AsioError init(AsioDriverInfo* info);
    AsioError exit();
    AsioError start();
    AsioError stop();
    AsioError getChannels(int32_t* inputs, int32_t* outputs);
    AsioError getLatencies(int32_t* input, int32_t* output);
    AsioError getBufferSize(int32_t* minSize, int32_t* maxSize, int32_t* preferred, int32_t* granularity);
    AsioError canSampleRate(double rate);
    AsioError getSampleRate(double* rate);
    AsioError setSampleRate(double rate);
    AsioError getSamplePosition(int64_t* position, int64_t* timeStamp);
    AsioError getChannelInfo(AsioChannelInfo* info);
    AsioError createBuffers(AsioBufferInfo* infos, int32_t count, int32_t bufferSize, AsioCallbacks* callbacks);
    AsioError disposeBuffers();
    AsioError controlPanel();
    AsioError outputReady();

private:
    struct Node {
        int number;
        AsioDriverEntry entry;
        std::string name;
        std::unique_ptr<AsioDriver> object;
    };

    int numberOf(const std::string& name) const;
    bool load(int number);

    std::unique_ptr<AsioDriverSource> source_;
    std::vector<Node> nodes_;
    int current_ = -1;
    AsioDriver* driver_ = nullptr;   // what every forwarding call reads
};

} // namespace host
