#pragma once
// Decodes a FLAC file into a 16-byte-format PCM WAV image in memory, which the
// WAV reader then reads. Supports 8-, 16- and 24-bit mono and stereo streams.

#include "model/audio_files/memory_file.h"

#include <FLAC++/decoder.h>

#include <cstdint>
#include <string>

class FLACDecoder : public FLAC::Decoder::File {
public:
    FLACDecoder() = default;

    // Decodes the whole file; true when decoding ran to the end of the stream.
    // The image then holds the WAV, positioned at its start; on failure it is
    // freed. Messages go to standard output.
    bool decodeFile(const std::string& path);

    TesselMemoryFile& image() { return image_; }

protected:
    ::FLAC__StreamDecoderWriteStatus write_callback(const ::FLAC__Frame* frame,
                                                    const FLAC__int32* const buffer[]) override;
    void metadata_callback(const ::FLAC__StreamMetadata* metadata) override;
    void error_callback(::FLAC__StreamDecoderErrorStatus status) override;

private:
    uint64_t dataBytes() const;
    bool writeHeader();

    TesselMemoryFile image_;
    uint64_t fileBytes_ = 0;
    uint64_t totalSamples_ = 0;
    uint32_t sampleRate_ = 0;
    uint32_t channels_ = 0;
    uint32_t bitsPerSample_ = 0;
};
