#include "model/audio_files/ogg_decoder.h"

#include "model/audio_files/wav_reader.h"
#include "model/audio_files/wav_values.h"
#include "model/sample/sample.h"
#include "model/zip/zip_helpers.h"

#include <vorbis/vorbisfile.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr int kFramesPerRequest = 1024;
// A Vorbis packet yields at most 4096 frames and takes at least two bytes of
// the file with its lacing; a larger claim would only allocate memory that no
// audio backs.
constexpr uint64_t kMaxFramesPerFileByte = 4096;

// Owns the open stream so that every path clears it (which closes the file).
class OpenVorbisFile {
public:
    explicit OpenVorbisFile(FILE* file)
    {
        // On failure vorbisfile leaves the file to us.
        opened_ = ov_open(file, &vf_, nullptr, 0) == 0;
        if (!opened_)
            std::fclose(file);
    }
    ~OpenVorbisFile()
    {
        if (opened_)
            ov_clear(&vf_);
    }
    OpenVorbisFile(const OpenVorbisFile&) = delete;
    OpenVorbisFile& operator=(const OpenVorbisFile&) = delete;

    bool opened() const { return opened_; }
    OggVorbis_File* get() { return &vf_; }

private:
    OggVorbis_File vf_{};
    bool opened_ = false;
};

} // namespace

bool VorbisDecoder::decodeFile(const std::string& path)
{
    image_.free();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    const uint64_t fileBytes = fileSize(path.c_str());
    OpenVorbisFile stream(file);
    if (!stream.opened())
        return false;
    OggVorbis_File* vf = stream.get();

    const ogg_int64_t frames = ov_pcm_total(vf, -1);
    const vorbis_info* info = ov_info(vf, -1);
    if (frames < 0 || uint64_t(frames) / kMaxFramesPerFileByte > fileBytes || !info || info->channels < 1
        || info->channels > 2 || info->rate <= 0)
        return false;
    const int channels = info->channels;
    const uint64_t dataBytes = uint64_t(frames) * uint64_t(channels) * 4;
    if (dataBytes + kWavHeaderSize > std::numeric_limits<uint32_t>::max()
        || uint64_t(info->rate) > std::numeric_limits<uint32_t>::max()
        || !image_.allocate(uint32_t(dataBytes + kWavHeaderSize)))
        return false;

    const WavHeader header = makeWavHeader({kWavFormatFloat, uint16_t(channels), uint32_t(info->rate),
                                            32, uint32_t(dataBytes)});
    if (!image_.write(header.data(), 1, header.size())) {
        std::printf("ERROR: write error\n");
        image_.position = image_.data;
        return true;
    }

    float** pcm = nullptr;
    int section = 0;
    long got;
    while ((got = ov_read_float(vf, &pcm, kFramesPerRequest, &section)) > 0) {
        // A chained stream may change its channel count from one link to the
        // next; missing channels are written as silence.
        const vorbis_info* linkInfo = ov_info(vf, -1);
        const int linkChannels = linkInfo ? linkInfo->channels : 0;
        for (long i = 0; i < got; ++i) {
            for (int c = 0; c < channels; ++c) {
                const float value = c < linkChannels ? pcm[c][i] : 0.0f;
                image_.put32(std::bit_cast<uint32_t>(value));
            }
        }
    }
    std::memset(image_.position, 0, image_.remaining());
    image_.position = image_.data;
    return true;
}

bool TesselSample::loadOgg(const std::string& path)
{
    VorbisDecoder decoder;
    return decoder.decodeFile(path) && readWavImageFrom(*this, decoder.image(), path);
}
