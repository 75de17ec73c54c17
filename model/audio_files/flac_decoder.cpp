#include "model/audio_files/flac_decoder.h"

#include "model/audio_files/wav_reader.h"
#include "model/audio_files/wav_values.h"
#include "model/sample/sample.h"
#include "model/zip/zip_helpers.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr auto kAbort = FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
// No encoder gets more than about 5500 frames out of a byte (a 65535-frame
// block of constant subframes); a larger claim is hostile and would only
// allocate memory that no audio backs.
constexpr uint64_t kMaxFramesPerFileByte = 8192;

bool isSupportedLayout(uint32_t channels, uint32_t bits)
{
    return channels >= 1 && channels <= 2 && (bits == 8 || bits == 16 || bits == 24);
}

} // namespace

bool FLACDecoder::decodeFile(const std::string& path)
{
    image_.free();
    fileBytes_ = fileSize(path.c_str());
    set_md5_checking(true);
    if (init(path) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
        return false;
    const bool decoded = process_until_end_of_stream()
        && get_state() != FLAC__STREAM_DECODER_ABORTED && image_.data != nullptr;
    finish();
    if (decoded)
        std::memset(image_.position, 0, image_.remaining());   // a stream shorter than announced
    else
        image_.free();
    image_.position = image_.data;
    return decoded;
}

uint64_t FLACDecoder::dataBytes() const
{
    return uint64_t(channels_) * (bitsPerSample_ / 8) * totalSamples_;
}

void FLACDecoder::metadata_callback(const ::FLAC__StreamMetadata* metadata)
{
    if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO)
        return;
    const FLAC__StreamMetadata_StreamInfo& info = metadata->data.stream_info;
    totalSamples_ = info.total_samples;
    sampleRate_ = info.sample_rate;
    channels_ = info.channels;
    bitsPerSample_ = info.bits_per_sample;
    // A stream that a WAV image cannot describe gets no image, which the
    // write callback then refuses.
    const uint64_t bytes = dataBytes() + kWavHeaderSize;
    if (!isSupportedLayout(channels_, bitsPerSample_) || bytes > std::numeric_limits<uint32_t>::max()
        || totalSamples_ / kMaxFramesPerFileByte > fileBytes_)
        return;
    image_.allocate(uint32_t(bytes));
}

bool FLACDecoder::writeHeader()
{
    const WavHeader header = makeWavHeader({kWavFormatPcm, uint16_t(channels_), sampleRate_,
                                            uint16_t(bitsPerSample_), uint32_t(dataBytes())});
    return image_.write(header.data(), 1, header.size());
}

::FLAC__StreamDecoderWriteStatus FLACDecoder::write_callback(const ::FLAC__Frame* frame,
                                                             const FLAC__int32* const buffer[])
{
    // A frame must also match the stream's layout, or its buffers would be
    // read by the wrong channel count or width.
    if (!isSupportedLayout(channels_, bitsPerSample_) || frame->header.channels != channels_
        || frame->header.bits_per_sample != bitsPerSample_) {
        std::printf("ERROR: only supports 8, 16 and 24-bit mono/stereo files\n");
        return kAbort;
    }
    if (image_.data == nullptr || image_.size < dataBytes())
        return kAbort;
    if (totalSamples_ == 0) {
        std::printf("ERROR: no total_samples count in STREAMINFO\n");
        return kAbort;
    }
    if (frame->header.number.sample_number == 0 && !writeHeader()) {
        std::printf("ERROR: write error\n");
        return kAbort;
    }
    for (uint32_t i = 0; i < frame->header.blocksize; ++i) {
        for (uint32_t c = 0; c < channels_; ++c) {
            const FLAC__int32 v = buffer[c][i];
            bool ok;
            if (bitsPerSample_ == 8)
                ok = image_.putByte(uint8_t(v + 128));
            else if (bitsPerSample_ == 16)
                ok = image_.put16(uint32_t(v));
            else
                ok = image_.put24(uint32_t(v));
            if (!ok) {
                std::printf("ERROR: write error\n");
                return kAbort;
            }
        }
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void FLACDecoder::error_callback(::FLAC__StreamDecoderErrorStatus status)
{
    std::printf("Got error callback: %s\n", FLAC__StreamDecoderErrorStatusString[status]);
}

bool TesselSample::loadFlac(const std::string& path)
{
    FLACDecoder decoder;
    return decoder.decodeFile(path) && readWavImageFrom(*this, decoder.image(), path);
}
