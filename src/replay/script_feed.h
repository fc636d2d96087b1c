// A key script as the game is fed it: each message queued at its present,
// and the local time's milliseconds as they were read when it was recorded.
#pragma once

#include "platform/messages.h"

struct ScriptedMessage {
    int frame;  // queued just before present `frame` pumps
    Message message;
    // Queued once present `frame` is over instead, so that the pump ending
    // the frame, after its quit check, is the first to see it.
    bool after_present = false;
};

// Reads of the local time made in the work that leads to present `frame`
// return `ms` from then on.
struct ScriptedTime {
    int frame;
    int ms;
};

struct ScriptFeed {
    const ScriptedMessage* messages = nullptr;  // by frame, then inside before after
    int message_count = 0;
    const ScriptedTime* times = nullptr;  // frame numbers never decrease
    int time_count = 0;
    int next_message = 0;
    int next_time = 0;
    int ms = 0;  // what a read returns before any time line applies
};

// A feed at the start of its script; reads of the local time return `ms`
// until a time line applies.
ScriptFeed start_script_feed(const ScriptedMessage* messages, int message_count,
                             const ScriptedTime* times, int time_count, int ms);

// Hands `post` every message due as present `frame` begins (present_over
// false) or once it is over (true), in script order.
void feed_messages(ScriptFeed* feed, int frame, bool present_over, void (*post)(const Message&));

// What a read of the local time returns while `next_present` is the next
// present to begin. Several reads before one present take that frame's
// lines in order; a line that no read took still holds from then on.
int feed_local_ms(ScriptFeed* feed, int next_present);
