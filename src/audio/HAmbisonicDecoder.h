#pragma once

#include <QString>

#include <memory>
#include <vector>

class CAmbisonicBinauralizer;
class CAmbisonicDecoder;
class CBFormat;

// Decodes a first-order field (W, Y, Z, X, as the viewer hears it) to the ears or to speakers, in
// blocks of a fixed size, with libspatialaudio: binaural through the HRTFs of a SOFA file, or a
// decode for the speaker layout of the output.
class HAmbisonicDecoder
{
public:
    enum class Output
    {
        Headphones,
        Speakers
    };
    static constexpr int blockFrames = 512;

    HAmbisonicDecoder();
    ~HAmbisonicDecoder();

    // Headphones always give two channels; speakers as many as the output has (1, 2, 4 or 6: one,
    // two, four or five speakers and a silent LFE; other counts get the nearest fewer).
    bool configure(Output output, int outputChannels, int sampleRate, QString* why);
    int channels() const { return outputChannels; }
    Output output() const { return chosen; }

    // One block of the four components (blockFrames each, changed in place) into interleaved frames
    // of channels() samples.
    void decode(float* const field[4], float* interleaved);

    static QString hrtfFile();

private:
    Output chosen = Output::Headphones;
    int outputChannels = 0;
    std::vector<int> speakerChannel; // for each decoded speaker, its output channel
    std::unique_ptr<CBFormat> field;
    std::unique_ptr<CAmbisonicBinauralizer> binauralizer;
    std::unique_ptr<CAmbisonicDecoder> speakers;
    std::vector<std::vector<float>> feeds;
};
