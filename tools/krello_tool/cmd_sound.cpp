// krello-tool's sound commands: every synthesised effect as a WAV file, and their checksums.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "krello_tool/commands.h"
#include "krello_tool/output_files.h"
#include "replay/crc32.h"
#include "sound/sound_bank.h"
#include "sound/synth.h"
#include "sound/wav_bytes.h"

namespace krello::tool {
namespace {

using sound::SoundId;

std::vector<uint8_t> effectWav(const sound::SoundBank& bank, int i) {
    return sound::wavBytes(bank.samples(static_cast<SoundId>(i)), 1, sound::SAMPLE_RATE);
}

void writeEffects(const std::string& folder) {
    const sound::SoundBank bank;
    OutputFiles out;
    out.createFolder(folder);
    for (int i = 0; i < sound::SOUND_COUNT; ++i) {
        const std::string path = folder + "/" + std::string(sound::soundName(static_cast<SoundId>(i))) + ".wav";
        out.check(path);
        out.add(path, effectWav(bank, i));
    }
    out.commit();
}

// One line an effect: its name, the CRC-32 of its WAV file, its length and its loudest sample.
void listEffects() {
    const sound::SoundBank bank;
    for (int i = 0; i < sound::SOUND_COUNT; ++i) {
        const auto samples = bank.samples(static_cast<SoundId>(i));
        int peak = 0;
        for (const int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        std::printf("%-14s %s %5ld ms  peak %5d\n", std::string(sound::soundName(static_cast<SoundId>(i))).c_str(),
                    crc32Text(crc32(effectWav(bank, i))).c_str(),
                    static_cast<long>(samples.size()) * 1000 / sound::SAMPLE_RATE, peak);
    }
}

}  // namespace

void registerSoundCommands(CLI::App& app) {
    CLI::App* sounds = app.add_subcommand("sounds", "The synthesised sound effects");
    sounds->require_subcommand(1);

    auto folder = std::make_shared<std::string>();
    CLI::App* wav = sounds->add_subcommand("wav", "Write every effect as FOLDER/NAME.wav (16-bit mono, 22,050 Hz)");
    wav->add_option("FOLDER", *folder, "Output folder, made if missing")->type_name("")->required();
    wav->callback([folder] { writeEffects(*folder); });

    CLI::App* list = sounds->add_subcommand("list", "Print each effect's name, the CRC-32 of its WAV file, "
                                                    "its length and its loudest sample");
    list->callback([] { listEffects(); });
}

}  // namespace krello::tool
