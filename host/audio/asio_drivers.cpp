#include "host/audio/asio_drivers.h"

#include "platform/system/folders.h"

#include <algorithm>
#include <cstring>

namespace host {
namespace {

class NoAsioSource final : public AsioDriverSource {
public:
    std::vector<AsioDriverEntry> scan() override { return {}; }
    std::unique_ptr<AsioDriver> create(const AsioDriverEntry&) override { return nullptr; }
};

void copyText(char* dst, size_t size, const char* text)
{
    const size_t n = strnlen(text, size - 1);
    std::memcpy(dst, text, n);
    dst[n] = '\0';
}

void copyText(char* dst, size_t size, const std::string& text) { copyText(dst, size, text.c_str()); }

} // namespace

std::unique_ptr<AsioDriverSource> makeSystemAsioSource() { return std::make_unique<NoAsioSource>(); }

AsioDriverList::AsioDriverList(std::unique_ptr<AsioDriverSource> source) : source_(std::move(source))
{
    if (!source_)
        return;
    // Only drivers whose class is registered with an existing server file.
    for (AsioDriverEntry& entry : source_->scan()) {
        if (entry.serverPath.empty() || !platform::fileExists(entry.serverPath))
            continue;
        if (entry.serverPath.size() >= kAsioPathSize)
            entry.serverPath.resize(kAsioPathSize - 1);
        std::string name = entry.description.empty() ? entry.keyName : entry.description;
        if (name.size() >= kAsioNameSize)
            name.resize(kAsioNameSize - 1);
        const int number = count();
        nodes_.push_back(Node{number, std::move(entry), std::move(name), nullptr});
    }
}

AsioDriverList::~AsioDriverList()
{
    driver_ = nullptr;
    nodes_.clear();
}

int AsioDriverList::asioDriverName(int number, char* buffer) const
{
    if (!buffer)
        return kAsioErrorNullBuffer;
    if (number < 0 || number >= count())
        return kAsioErrorNoDriver;
    const std::string& name = nodes_[number].name;
    if (name.size() >= kAsioShownNameSize)
        copyText(buffer, kAsioShownNameSize, name.substr(0, 28) + "...");
    else
        copyText(buffer, kAsioShownNameSize, name);
    return 0;
}

int AsioDriverList::asioDriverNames(char** names, int max) const
{
    if (!names || max <= 0)
        return 0;
    const int n = std::min(count(), max);
    for (int i = 0; i < n; ++i)
        if (names[i])
            asioDriverName(i, names[i]);
    return n;
}

int AsioDriverList::numberOf(const std::string& name) const
{
    for (const Node& node : nodes_)
        if (node.name == name)
            return node.number;
    return -1;
}

bool AsioDriverList::load(int number)
{
    Node& node = nodes_[number];
    node.object = source_->create(node.entry);
    if (!node.object)
        return false;
    driver_ = node.object.get();
    current_ = number;
    return true;
}

bool AsioDriverList::asioOpenDriver(const std::string& name)
{
    const int number = numberOf(name);
    if (number < 0)
        return false;
    const int previous = current_;
    asioReleaseDriver();
    if (load(number))
        return true;
    driver_ = nullptr;
    if (previous >= 0 && previous != number)
        load(previous);
    return false;
}

void AsioDriverList::asioReleaseDriver()
{
    if (current_ >= 0)
        nodes_[current_].object.reset();
    driver_ = nullptr;
    current_ = -1;
}

AsioError AsioDriverList::init(AsioDriverInfo* info)
{
    if (info) {
        copyText(info->name, sizeof info->name, "No ASIO Driver");
        info->driverVersion = 0;
    }
    if (!driver_)
        return kAsioNotPresent;
    if (driver_->init(info ? info->sysRef : nullptr)) {
        if (info) {
            copyText(info->errorMessage, sizeof info->errorMessage, "No ASIO Driver Error");
            copyText(info->name, sizeof info->name, driver_->driverName());
            info->driverVersion = driver_->driverVersion();
        }
        return kAsioOk;
    }
    if (info)
        copyText(info->errorMessage, sizeof info->errorMessage, driver_->errorMessage());
    driver_ = nullptr;
    return kAsioNotPresent;
}

AsioError AsioDriverList::exit()
{
    // Also after a failed init, which leaves the driver loaded but not current.
    if (current_ >= 0)
        asioReleaseDriver();
    driver_ = nullptr;
    return kAsioOk;
}

AsioError AsioDriverList::start() { return driver_ ? driver_->start() : kAsioNotPresent; }
AsioError AsioDriverList::stop() { return driver_ ? driver_->stop() : kAsioNotPresent; }

AsioError AsioDriverList::getChannels(int32_t* inputs, int32_t* outputs)
{
    if (driver_)
        return driver_->getChannels(inputs, outputs);
    if (inputs)
        *inputs = 0;
    if (outputs)
        *outputs = 0;
    return kAsioNotPresent;
}

AsioError AsioDriverList::getLatencies(int32_t* input, int32_t* output)
{
    if (driver_)
        return driver_->getLatencies(input, output);
    if (input)
        *input = 0;
    if (output)
        *output = 0;
    return kAsioNotPresent;
}

AsioError AsioDriverList::getBufferSize(int32_t* minSize, int32_t* maxSize, int32_t* preferred,
                                        int32_t* granularity)
{
    if (driver_)
        return driver_->getBufferSize(minSize, maxSize, preferred, granularity);
    for (int32_t* value : {minSize, maxSize, preferred, granularity})
        if (value)
            *value = 0;
    return kAsioNotPresent;
}

AsioError AsioDriverList::canSampleRate(double rate)
{
    return driver_ ? driver_->canSampleRate(rate) : kAsioNotPresent;
}

AsioError AsioDriverList::getSampleRate(double* rate)
{
    return driver_ ? driver_->getSampleRate(rate) : kAsioNotPresent;
}

AsioError AsioDriverList::setSampleRate(double rate)
{
    return driver_ ? driver_->setSampleRate(rate) : kAsioNotPresent;
}

AsioError AsioDriverList::getSamplePosition(int64_t* position, int64_t* timeStamp)
{
    return driver_ ? driver_->getSamplePosition(position, timeStamp) : kAsioNotPresent;
}

AsioError AsioDriverList::getChannelInfo(AsioChannelInfo* info)
{
    if (driver_)
        return driver_->getChannelInfo(info);
    if (info) {
        info->channelGroup = -1;
        info->type = 0;
        copyText(info->name, sizeof info->name, "None");
    }
    return kAsioNotPresent;
}

AsioError AsioDriverList::createBuffers(AsioBufferInfo* infos, int32_t count, int32_t bufferSize,
                                        AsioCallbacks* callbacks)
{
    if (driver_)
        return driver_->createBuffers(infos, count, bufferSize, callbacks);
    if (infos)
        for (int32_t i = 0; i < count; ++i)
            infos[i].buffers[0] = infos[i].buffers[1] = nullptr;
    return kAsioNotPresent;
}

AsioError AsioDriverList::disposeBuffers() { return driver_ ? driver_->disposeBuffers() : kAsioNotPresent; }
AsioError AsioDriverList::controlPanel() { return driver_ ? driver_->controlPanel() : kAsioNotPresent; }
AsioError AsioDriverList::outputReady() { return driver_ ? driver_->outputReady() : kAsioNotPresent; }

} // namespace host
