// object: the large captions and pictures: game over, the title prompts, the
// retry prompt, the thank-you panel lines, the prize caption, the reward
// names, the victory picture, the stage-clear banner and the ending texts.
#include <string>

#include "font.h"
#include "sheets.h"

namespace {

using namespace layout;

const TextStyle kWhite{ink::white, ink::cream, ink::outline, ink::navy};
const TextStyle kGold{ink::yellow, ink::orange2, ink::outline, ink::red1, 2};
const TextStyle kBigWhite{ink::white, ink::blue3, ink::outline, ink::navy, 2};
const TextStyle kBigPink{ink::pink, ink::purple2, ink::outline, ink::navy, 2};
const TextStyle kCyan{ink::cyan, ink::blue3, ink::outline};
const TextStyle kPlain{ink::white, ink::cream, ink::outline};

// A rounded panel with a light rim and a dark outer edge.
void panel(Image& img, const Box& b, Colour top, Colour bottom, Colour rim) {
    vertical_gradient(img, {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1}, top, bottom, 6);
    frame_box(img, {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1}, rim);
    frame_box(img, b, ink::outline);
    for (int dx : {0, 1})
        for (int dy : {0, 1}) {
            const int x = dx ? b.right - 1 : b.left, y = dy ? b.bottom - 1 : b.top;
            img.set(x, y, kClear);
            img.set(x + (dx ? -1 : 1), y + (dy ? -1 : 1), ink::outline);
        }
}

int centre_of(const Box& b) {
    return (b.left + b.right) / 2;
}

void paint_game_over(Image& img) {
    const Box p{10, 6, 230, 154};
    panel(img, p, rgb(40, 16, 34), rgb(20, 10, 30), ink::red1);
    // The broken Earth: two halves drifting apart with debris between them.
    const double cx = 120, cy = 52;
    Image earth(240, 160);
    fill_disc(earth, cx, cy, 30, ink::blue1);
    fill_disc(earth, cx - 3, cy - 3, 26, ink::blue2);
    fill_ellipse(earth, cx - 12, cy - 8, 9, 6, ink::green1);
    fill_ellipse(earth, cx + 10, cy + 8, 11, 7, ink::green1);
    fill_ellipse(earth, cx - 13, cy - 10, 6, 3, ink::green2);
    fill_ellipse(earth, cx + 8, cy + 6, 7, 4, ink::green2);
    fill_disc(earth, cx - 14, cy - 16, 4, ink::blue3);
    // Split along a jagged line; the right half drifts off to the lower right.
    const int jag[] = {0, 3, -2, 4, -1, 2, -3, 1};
    Image split(240, 160);
    for (int y = 0; y < 160; ++y) {
        const int edge = static_cast<int>(cx) + jag[(y / 6) % 8];
        for (int x = 0; x < 240; ++x) {
            const Colour c = earth.get(x, y);
            if (c == kClear) continue;
            if (x < edge)
                split.set(x - 2, y, c);
            else
                split.set(x + 6, y + 3, c);
        }
    }
    earth = split;
    outline(earth, {0, 0, 240, 160}, ink::outline);
    overlay(img, 0, 0, earth, {0, 0, 232, 160});
    Scatter bits(7);
    for (int i = 0; i < 9; ++i) {
        const int x = 116 + bits.next(16), y = 26 + bits.next(56);
        fill_box(img, {x, y, x + 2, y + 2}, i % 3 ? ink::orange2 : ink::yellow);
    }
    draw_text_centred(img, regular_font(), 120, 90, "GAME OVER",
                      {ink::red3, ink::red2, ink::outline, ink::red1, 2});
    draw_text_centred(img, regular_font(), 120, 115, "Earth has been", kWhite);
    draw_text_centred(img, regular_font(), 120, 128, "destroyed...", kWhite);
}

void paint_title_prompts(Image& img) {
    const char* const words[4] = {"Press SPACE", "Press SPACE!", "PRESS SPACE!!",
                                  "HURRY! SPACE!!!"};
    const TextStyle styles[4] = {{ink::white, ink::blue3, ink::outline, ink::navy, 2},
                                 {ink::yellow, ink::orange3, ink::outline, ink::navy, 2},
                                 {ink::orange3, ink::orange2, ink::outline, ink::red1, 2},
                                 {ink::red3, ink::red2, ink::outline, ink::yellow, 2}};
    for (int k = 0; k < 4; ++k) {
        const Box b = title_prompt(k);
        draw_text_centred(img, regular_font(), 120, b.top + 7, words[k], styles[k]);
    }
}

// Draws "key: rest" with the key in yellow, centred on cx.
void key_line(Image& img, int cx, int y, const std::string& key, const std::string& rest) {
    const TextStyle key_style{ink::yellow, ink::orange3, ink::outline, ink::navy};
    const int w = text_width(regular_font(), key + rest) + 2;
    const int x = cx - w / 2;
    draw_text(img, regular_font(), x, y, key, key_style);
    draw_text(img, regular_font(), x + text_width(regular_font(), key) + 1, y, rest, kWhite);
}

void paint_retry_prompt(Image& img) {
    const Box& b = kRetryPrompt;
    // Drawn at x 8 on the screen, so 112 here is the screen's middle.
    key_line(img, 112, b.top + 3, "Space", ": retry");
    key_line(img, 112, b.top + 17, "Esc", ": quit");
}

void paint_result_lines(Image& img) {
    // Line 0 starts 8 columns further left than the others on the sheet but is
    // drawn at the same screen x, so its centre lies 8 columns further left.
    draw_text_centred(img, regular_font(), kThanks.left + 120, kThanks.top + 2, "Thank you", kGold);
    draw_text_centred(img, regular_font(), kThanks.left + 120, kThanks.top + 24, "very much!",
                      kGold);
    draw_text_centred(img, regular_font(), kSaved.left + 120, kSaved.top + 6,
                      "The Earth was saved!", kBigWhite);
    draw_text_centred(img, regular_font(), kPleaseTake.left + 120, kPleaseTake.top + 6,
                      "Please take", kBigWhite);
    draw_text_centred(img, regular_font(), kAsReward.left + 120, kAsReward.top + 6, "as a reward.",
                      kBigWhite);
    // The prize caption, drawn at screen x 8: THIS, underlined, is the prize.
    const Box& p = kPrizeCaption;
    const TextStyle red{ink::red3, ink::red2, ink::outline, ink::yellow, 2};
    const std::string rest = " is your prize";
    const int w = text_width(regular_font(), "THIS" + rest, 2) + 2;
    const int x = p.left + 112 - w / 2;
    const int wt = draw_text(img, regular_font(), x, p.top + 4, "THIS", red);
    fill_box(img, {x + 1, p.top + 21, x + wt - 1, p.top + 23}, ink::red3);
    frame_box(img, {x, p.top + 20, x + wt, p.top + 24}, ink::outline);
    draw_text(img, regular_font(), x + wt - 2, p.top + 4, rest, kBigWhite);
}

void paint_reward_names(Image& img) {
    for (int k = 0; k < 10; ++k) {
        const Box b = reward_name(k);
        const std::string name = k == 3 ? "adult" : kRewardNames[k];
        const int w =
            text_width(regular_font(), "this") + 2 + 4 + text_width(regular_font(), name, 2) + 2;
        const int x = b.left + (b.width() - w) / 2;
        draw_text(img, regular_font(), x, b.top + 12, "this", kWhite);
        draw_text(img, regular_font(), x + text_width(regular_font(), "this") + 6, b.top + 4, name,
                  kGold);
    }
}

void paint_victory(Image& img) {
    const Box& v = kVictory;
    const Box p{v.left + 8, v.top + 6, v.right - 8, v.bottom - 6};
    panel(img, p, rgb(30, 24, 70), rgb(50, 20, 70), ink::purple2);
    draw_text_centred(img, regular_font(), 120, v.top + 14, "The universe", kGold);
    draw_text_centred(img, regular_font(), 120, v.top + 36, "has been saved!", kGold);
    // The beauty of space: a purple cat sitting on a little cushion of stars.
    const int cx = 120, top = v.top + 66;
    Image cat(64, 64);
    fill_ellipse(cat, 32, 44, 13, 14, ink::purple2);
    fill_ellipse(cat, 32, 48, 7, 9, ink::purple3);
    const double tail[][2] = {{44, 54}, {48, 51}, {50, 46}, {50, 41}, {48, 37}};
    for (auto& t : tail) fill_disc(cat, t[0], t[1], 2.2, ink::purple2);
    fill_box(cat, {24, 54, 30, 58}, ink::purple3);
    fill_box(cat, {34, 54, 40, 58}, ink::purple3);
    outline(cat, {0, 0, 64, 64}, ink::outline);
    overlay(img, cx - 32, top, cat, {0, 0, 64, 64});
    const Box head{cx - 14, top + 8, cx + 14, top + 36};
    paint_cat_face(img, head, {ink::purple2, ink::purple3, ink::purple1, ink::pink}, Mood::Calm);
    // A bow and sparkles.
    fill_triangle(img, cx + 5, top + 13, cx + 11, top + 10, cx + 11, top + 17, ink::pink);
    fill_triangle(img, cx + 17, top + 13, cx + 11, top + 10, cx + 11, top + 17, ink::pink);
    img.set(cx + 11, top + 13, ink::red2);
    Scatter sparkle(11);
    for (int i = 0; i < 10; ++i) {
        const int x = p.left + 12 + sparkle.next(p.width() - 24);
        const int y = top + sparkle.next(64);
        if (x > cx - 34 && x < cx + 34) continue;
        img.set(x, y, ink::white);
        img.set(x - 1, y, ink::yellow);
        img.set(x + 1, y, ink::yellow);
        img.set(x, y - 1, ink::yellow);
        img.set(x, y + 1, ink::yellow);
    }
    draw_text_centred(img, regular_font(), 120, v.top + 140, "You receive this", kWhite);
    draw_text_centred(img, regular_font(), 120, v.top + 156, "space beauty", kBigPink);
    draw_text_centred(img, regular_font(), 120, v.top + 180, "as a reward!", kWhite);
    draw_text_centred(img, regular_font(), 120, v.top + 200, "Look after her well.", kCyan);
}

void heart(Image& img, int x, int y, Colour c) {
    stamp(img, x, y, {".##.##.", "#######", "#######", ".#####.", "..###..", "...#..."},
          {{'#', c}});
}

void paint_stage_clear(Image& img) {
    const Box& b = kStageClear;
    panel(img, {b.left + 4, b.top + 2, b.right - 4, b.bottom - 2}, rgb(255, 236, 244),
          rgb(255, 206, 226), ink::white);
    // A small girl running to the right, arms out.
    stamp(img, b.left + 16, b.top + 9,
          {
              "...hhhhh....",
              "..hhhhhhh...",
              ".hhhssssh.r.",
              ".hhsksskh.rr",
              ".hhssssss...",
              "..hsspsss...",
              "...ssss.....",
              "..ddddd.ss..",
              ".sdddddddss.",
              "ss.ddddd....",
              "..dddddd....",
              ".ddddddddd..",
              "dddddddddd..",
              "...ss..ss...",
              "..ss....ss..",
              ".ss......ss.",
              "bb........bb",
          },
          {{'h', ink::brown2},
           {'s', ink::skin},
           {'k', ink::outline},
           {'p', ink::pink},
           {'r', ink::red2},
           {'d', ink::red2},
           {'b', ink::brown1}});
    outline(img, {b.left + 10, b.top + 4, b.left + 40, b.bottom - 4}, ink::outline);
    // Her speech balloon.
    const Box bal{b.left + 46, b.top + 9, b.right - 12, b.bottom - 9};
    fill_box(img, bal, ink::white);
    frame_box(img, bal, ink::outline);
    fill_triangle(img, bal.left + 1, bal.top + 12, bal.left + 1, bal.top + 20, bal.left - 6,
                  bal.top + 19, ink::white);
    line(img, bal.left, bal.top + 12, bal.left - 6, bal.top + 19, ink::outline);
    line(img, bal.left - 6, bal.top + 19, bal.left, bal.top + 20, ink::outline);
    const TextStyle pink{ink::red2, ink::purple2, ink::white, kClear, 2};
    const int w = draw_text(img, regular_font(), bal.left + 10, bal.top + 5, "How pretty!", pink);
    heart(img, bal.left + 12 + w, bal.top + 10, ink::red2);
}

void paint_story(Image& img) {
    const char* const lines[10][2] = {
        {"The Earth", "was saved."},      {"High above,", "the cats"},
        {"watched the", "blue planet."},  {"\"So pretty.", "Let us go.\""},
        {"They packed", "their bags"},    {"and flew off", "into space,"},
        {"leaving the", "Earth alone"},   {"to grow green", "in peace."},
        {"Somewhere far", "away, a cat"}, {"is dreaming", "of home."},
    };
    for (int i = 0; i < 10; ++i) {
        const Box b = story_line(i);
        draw_text_centred(img, regular_font(), centre_of(b), b.top + 3, lines[i][0], kPlain);
        draw_text_centred(img, regular_font(), centre_of(b), b.top + 17, lines[i][1], kPlain);
    }
}

void paint_credits(Image& img) {
    const int cx = centre_of(kCredits[0]);
    const TextStyle big{ink::yellow, ink::orange2, ink::outline, ink::red1, 2};
    draw_text_centred(img, regular_font(), cx, kCredits[0].top + 6, "ZARVOX", big);
    draw_text_centred(img, regular_font(), cx, kCredits[0].top + 30, "- staff -", kCyan);
    const char* const blocks[3][4] = {{"Programming", "", "the Zarvox", "team"},
                                      {"Pictures", "", "the Zarvox", "team"},
                                      {"Music", "and sound", "the Zarvox", "team"}};
    for (int k = 0; k < 3; ++k) {
        const Box& b = kCredits[k + 1];
        int y = b.top + 4;
        draw_text_centred(img, regular_font(), cx, y, blocks[k][0], kCyan);
        y += 12;
        if (*blocks[k][1]) {
            draw_text_centred(img, regular_font(), cx, y, blocks[k][1], kCyan);
            y += 12;
        }
        y += 4;
        draw_text_centred(img, regular_font(), cx, y, blocks[k][2], kPlain);
        draw_text_centred(img, regular_font(), cx, y + 12, blocks[k][3], kPlain);
    }
    const Box& last = kCredits[4];
    draw_text_centred(img, regular_font(), cx, last.top + 6, "Thanks for", kPlain);
    draw_text_centred(img, regular_font(), cx, last.top + 22, "playing!", kBigPink);
    heart(img, cx - 4, last.top + 50, ink::red2);
    outline(img, {last.left, last.top + 48, last.right, last.bottom}, ink::outline);
}

void paint_end_mark(Image& img) {
    const Box& b = kEndMark;
    panel(img, b, rgb(60, 30, 90), rgb(30, 20, 60), ink::purple3);
    draw_text_centred(img, regular_font(), centre_of(b), b.top + 3, "THE", kCyan);
    draw_text_centred(img, regular_font(), centre_of(b), b.top + 14, "END",
                      {ink::yellow, ink::orange2, ink::outline, kClear, 3});
}

}  // namespace

Image paint_object() {
    Image img(700, 640);
    paint_game_over(img);
    paint_title_prompts(img);
    paint_retry_prompt(img);
    paint_result_lines(img);
    paint_reward_names(img);
    paint_victory(img);
    paint_stage_clear(img);
    paint_story(img);
    paint_credits(img);
    paint_end_mark(img);
    return img;
}
