#include "tools/media/Sounds.h"
#include "tools/media/LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <stdexcept>

namespace murk_media {

namespace {

constexpr double Two_Pi = 2.0 * std::numbers::pi;

// A one-pole low-pass filter; the cut-off is in hertz.
class TLow_Pass {
public:
    explicit TLow_Pass(double cutoff) : K(1.0 - std::exp(-Two_Pi * cutoff / Sample_Rate)) {}
    double operator()(double x) { return Y += K * (x - Y); }

private:
    double K, Y = 0.0;
};

// A recipe's "wave" word, resolved once per sound rather than compared for every sample; any other word is
// a sine.
enum class TWave { Sine, Square, Saw, Tri };

TWave Wave_Of(const std::string& name) {
    if (name == "square") return TWave::Square;
    if (name == "saw") return TWave::Saw;
    if (name == "tri") return TWave::Tri;
    return TWave::Sine;
}

double Wave_Shape(TWave wave, double phase) {
    const double p = phase - std::floor(phase);
    switch (wave) {
    case TWave::Square: return p < 0.5 ? 0.8 : -0.8;
    case TWave::Saw: return 2.0 * p - 1.0;
    case TWave::Tri: return 1.0 - 4.0 * std::abs(p - 0.5);
    case TWave::Sine: break;
    }
    return std::sin(Two_Pi * p);
}

// Rises over the attack time, then falls to silence at the end along a power curve.
double Envelope(double t, double len, double attack, double curve) {
    const double rise = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::pow(std::max(0.0, 1.0 - t / len), curve);
}

struct TContext {
    const TEntry& Entry;
    TRandom Random;
    double Len;
    int Count;
};

using TRecipe = std::function<void(TContext&, std::vector<double>&)>;

// Noise through a low-pass filter, with an optional ringing tone: blows, bashes, swings and scrapes.
void Burst(TContext& c, std::vector<double>& out) {
    TLow_Pass filter(c.Entry.Number("cutoff", 3000));
    const double ring = c.Entry.Number("ring", 0), attack = c.Entry.Number("attack", 0.003);
    const double curve = c.Entry.Number("curve", 2);
    for (int i = 0; i < c.Count; ++i) {
        const double t = double(i) / Sample_Rate;
        double v = filter(c.Random.Signed()) * 1.6;
        if (ring > 0) v = 0.6 * v + 0.5 * std::sin(Two_Pi * ring * t) * std::exp(-t * 12);
        out[i] = v * Envelope(t, c.Len, attack, curve);
    }
}

// A tone gliding from one pitch to another, with vibrato: magic, level-up, drinking, whooshes.
void Sweep(TContext& c, std::vector<double>& out) {
    const double from = c.Entry.Number("from", 440), to = c.Entry.Number("to", 880);
    const double vib = c.Entry.Number("vib", 0), rate = c.Entry.Number("rate", 6);
    const TWave wave = Wave_Of(c.Entry.Text("wave", "sine"));
    const double attack = c.Entry.Number("attack", 0.01), curve = c.Entry.Number("curve", 1);
    double phase = 0;
    for (int i = 0; i < c.Count; ++i) {
        const double t = double(i) / Sample_Rate;
        const double f = from * std::pow(to / from, t / c.Len) + vib * std::sin(Two_Pi * rate * t);
        phase += f / Sample_Rate;
        out[i] = Wave_Shape(wave, phase) * Envelope(t, c.Len, attack, curve);
    }
}

// Short metallic ticks: buttons, locks, keys, coins.
void Click(TContext& c, std::vector<double>& out) {
    const int count = c.Entry.Integer("count", 1);
    const double gap = c.Entry.Number("gap", 0.06), freq = c.Entry.Number("freq", 2500);
    for (int k = 0; k < count; ++k) {
        const double start = k * gap, pitch = freq * (1.0 + 0.15 * c.Random.Signed());
        for (int i = int(start * Sample_Rate); i < c.Count; ++i) {
            const double t = double(i) / Sample_Rate - start;
            if (t > 0.03) break;
            out[i] += (0.7 * std::sin(Two_Pi * pitch * t) + 0.3 * c.Random.Signed()) * std::exp(-t * 220);
        }
    }
}

// Band-limited noise that flickers: fire, poison, frost, breath and hissing.
void Hiss(TContext& c, std::vector<double>& out) {
    TLow_Pass high(c.Entry.Number("high", 4000)), low(c.Entry.Number("low", 400));
    const double flicker = c.Entry.Number("flicker", 9), attack = c.Entry.Number("attack", 0.04);
    const double curve = c.Entry.Number("curve", 1);
    double wobble = 1.0;
    for (int i = 0; i < c.Count; ++i) {
        const double t = double(i) / Sample_Rate;
        const double n = c.Random.Signed();
        if (i % 200 == 0) wobble = 0.55 + 0.45 * c.Random.Unit();
        const double band = high(n) - low(n);
        out[i] = 2.2 * band * wobble * (0.7 + 0.3 * std::sin(Two_Pi * flicker * t)) *
                 Envelope(t, c.Len, attack, curve);
    }
}

// Random sharp snaps over a rumble: lightning and electricity.
void Crackle(TContext& c, std::vector<double>& out) {
    const double density = c.Entry.Number("density", 60);
    TLow_Pass rumble(c.Entry.Number("cutoff", 300));
    double snap = 0.0;
    for (int i = 0; i < c.Count; ++i) {
        const double t = double(i) / Sample_Rate;
        if (c.Random.Unit() < density / Sample_Rate) snap = 0.6 + 0.4 * c.Random.Unit();
        snap *= 0.995;
        out[i] =
            (snap * c.Random.Signed() + 1.5 * rumble(c.Random.Signed())) * Envelope(t, c.Len, 0.002, 1.5);
    }
}

// A low thump whose pitch drops at once, with a little noise: drops, misses, falls and punches.
void Thud(TContext& c, std::vector<double>& out) {
    const double freq = c.Entry.Number("freq", 90), noise = c.Entry.Number("noise", 0.3);
    TLow_Pass filter(c.Entry.Number("cutoff", 900));
    double phase = 0;
    for (int i = 0; i < c.Count; ++i) {
        const double t = double(i) / Sample_Rate;
        phase += freq * (1.0 + 1.5 * std::exp(-t * 35)) / Sample_Rate;
        const double v = std::sin(Two_Pi * phase) + noise * 2.0 * filter(c.Random.Signed());
        out[i] = v * Envelope(t, c.Len, 0.002, 2.5);
    }
}

// A rough voice: a buzzing tone and noise under a slow tremble: growls, moans, barks, roars.
void Growl(TContext& c, std::vector<double>& out) {
    const double freq = c.Entry.Number("freq", 80), rate = c.Entry.Number("rate", 7);
    const double rough = c.Entry.Number("rough", 0.5), glide = c.Entry.Number("glide", 1.0);
    const double attack = c.Entry.Number("attack", 0.05);
    TLow_Pass filter(c.Entry.Number("cutoff", 1200));
    double phase = 0;
    for (int i = 0; i < c.Count; ++i) {
        const double t = double(i) / Sample_Rate;
        const double f = freq * std::pow(glide, t / c.Len) * (1.0 + 0.05 * c.Random.Signed());
        phase += f / Sample_Rate;
        const double voice = (1.0 - rough) * Wave_Shape(TWave::Saw, phase) + rough * 2.0 * c.Random.Signed();
        const double tremble = 0.6 + 0.4 * std::sin(Two_Pi * rate * t);
        out[i] = 1.4 * filter(voice) * tremble * Envelope(t, c.Len, attack, 0.8);
    }
}

// A falling cry that dies away: the death of a creature.
void Death(TContext& c, std::vector<double>& out) {
    const double from = c.Entry.Number("from", 400), to = c.Entry.Number("to", 80);
    const double rough = c.Entry.Number("rough", 0.3);
    TLow_Pass filter(c.Entry.Number("cutoff", 2000));
    double phase = 0;
    for (int i = 0; i < c.Count; ++i) {
        const double t = double(i) / Sample_Rate;
        phase +=
            from * std::pow(to / from, t / c.Len) * (1.0 + 0.03 * std::sin(Two_Pi * 9 * t)) / Sample_Rate;
        const double v = (1.0 - rough) * Wave_Shape(TWave::Saw, phase) + rough * 2.0 * c.Random.Signed();
        out[i] = filter(v) * Envelope(t, c.Len, 0.02, 1.2);
    }
}

// A sequence of bell-like notes: quests, level-up, and the looping songs.
void Chime(TContext& c, std::vector<double>& out) {
    const std::vector<double> notes = c.Entry.Numbers("notes");
    if (notes.empty()) throw std::runtime_error(c.Entry.Path + ": chime needs notes=");
    const double step = c.Entry.Number("step", c.Len / notes.size()), ring = c.Entry.Number("ring", 2 * step);
    const TWave wave = Wave_Of(c.Entry.Text("wave", "sine"));
    for (size_t k = 0; k < notes.size(); ++k) {
        if (notes[k] <= 0) continue; // a rest
        const double start = k * step;
        for (int i = int(start * Sample_Rate); i < c.Count; ++i) {
            const double t = double(i) / Sample_Rate - start;
            if (t > ring) break;
            const double v = Wave_Shape(wave, notes[k] * t) + 0.3 * std::sin(Two_Pi * 2 * notes[k] * t);
            out[i] += 0.6 * v * std::min(1.0, t / 0.005) * std::pow(1.0 - t / ring, 2);
        }
    }
}

const std::map<std::string, TRecipe>& Recipes() {
    static const std::map<std::string, TRecipe> recipes = {
        {"burst", Burst}, {"sweep", Sweep}, {"click", Click}, {"hiss", Hiss},  {"crackle", Crackle},
        {"thud", Thud},   {"growl", Growl}, {"death", Death}, {"chime", Chime}};
    return recipes;
}

void Put_Tag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

} // namespace

std::vector<int16_t> Synthesise(const TEntry& entry) {
    const auto recipe = Recipes().find(entry.Recipe);
    if (recipe == Recipes().end())
        throw std::runtime_error(entry.Path + ": unknown sound recipe " + entry.Recipe);
    const double len = entry.Number("len", 0.3);
    if (!(len > 0.0 && len <= 12.0))
        throw std::runtime_error(entry.Path + ": len must lie in (0, 12] seconds");
    TContext context{entry, TRandom(Seed_Of(entry.Path)), len, int(len * Sample_Rate)};
    std::vector<double> mix(context.Count, 0.0);
    recipe->second(context, mix);

    // Scale to the asked loudness (gain 1 = full scale) and fade the last 5 ms to avoid a click.
    const double peak =
        std::max(1e-9, std::abs(*std::max_element(mix.begin(), mix.end(), [](double a, double b) {
                     return std::abs(a) < std::abs(b);
                 })));
    const double gain = std::clamp(entry.Number("gain", 0.7), 0.0, 1.0);
    const int fade = std::min(context.Count, Sample_Rate / 200);
    std::vector<int16_t> samples(context.Count);
    for (int i = 0; i < context.Count; ++i) {
        double v = mix[i] / peak * gain;
        if (i >= context.Count - fade) v *= double(context.Count - 1 - i) / fade;
        samples[i] = static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
    }
    return samples;
}

std::vector<uint8_t> Wave_File(const std::vector<int16_t>& samples) {
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + data_bytes);
    Put_Tag(out, "RIFF");
    Put_32(out, 36 + data_bytes);
    Put_Tag(out, "WAVE");
    Put_Tag(out, "fmt ");
    Put_32(out, 16);
    Put_16(out, 1); // PCM
    Put_16(out, 1); // one channel
    Put_32(out, Sample_Rate);
    Put_32(out, Sample_Rate * 2); // bytes per second
    Put_16(out, 2);               // bytes per sample frame
    Put_16(out, 16);              // bits per sample
    Put_Tag(out, "data");
    Put_32(out, data_bytes);
    for (const int16_t s : samples) Put_16(out, static_cast<uint16_t>(s));
    return out;
}

} // namespace murk_media
