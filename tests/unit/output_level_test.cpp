// The master level after the mix: the volume's steps, mute, and the pause
// holding the output without moving the sound on.
#include "platform/output_level.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/audio_device.h"

namespace {

TEST(OutputLevel, VolumeStepsAreAboutThreeDecibelsAndMuteIsSilence) {
    EXPECT_EQ(volume_gain(10, 10, false), 32768);
    EXPECT_EQ(volume_gain(0, 10, false), 0);
    EXPECT_EQ(volume_gain(10, 10, true), 0);
    EXPECT_NEAR(volume_gain(8, 10, false), 32768 * 0.501, 40);  // -6 dB
    for (int v = 1; v < 10; ++v)
        EXPECT_LT(volume_gain(v, 10, false), volume_gain(v + 1, 10, false));
}

TEST(OutputLevel, TheMixIsScaledOnceAndHeldWhilePaused) {
    // Two devices playing the same effect: one mixed as it is (the
    // reference), the other through the callback with the master level.
    auto make = [](int* buffer) {
        auto device = std::make_unique<SoundDevice>();
        const WaveFormat format = {1, 1, 22050, 44100, 2, 16, 0};
        *buffer = device->create_buffer(format, 2 * 100);
        void *a = nullptr, *b = nullptr;
        uint32_t sa = 0, sb = 0;
        if (*buffer < 0 || !device->lock(*buffer, 0, 200, &a, &sa, &b, &sb)) return device;
        for (int i = 0; i < 100; ++i) static_cast<int16_t*>(a)[i] = 20000;
        device->unlock(*buffer);
        device->play(*buffer);
        return device;
    };
    int buffer = -1, reference_buffer = -1;
    auto device = make(&buffer);
    auto reference = make(&reference_buffer);
    ASSERT_GE(buffer, 0);
    ASSERT_GE(reference_buffer, 0);

    int16_t out[2 * 10], want[2 * 10];
    set_output_gain(16384);
    sound_device_callback(out, 10, device.get());
    reference->mix(want, 10);
    ASSERT_GT(want[0], 5000);
    for (int i = 0; i < 20; ++i) EXPECT_NEAR(out[i], want[i] / 2, 1) << i;

    // Held: silence, and the effect waits where it was.
    hold_output(true);
    const uint32_t at = device->buffers[buffer].position;
    sound_device_callback(out, 10, device.get());
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(device->buffers[buffer].position, at);
    hold_output(false);
    set_output_gain(32768);
    sound_device_callback(out, 10, device.get());
    reference->mix(want, 10);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(out[i], want[i]) << i;
    EXPECT_EQ(device->buffers[buffer].position, at + 10);
    device->release_all();
    reference->release_all();
}

}  // namespace
