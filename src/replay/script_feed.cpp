#include "replay/script_feed.h"

namespace {

// Inside present N comes before the pump that ends frame N.
int feed_point(int frame, bool present_over) {
    return frame * 2 + (present_over ? 1 : 0);
}

}  // namespace

ScriptFeed start_script_feed(const ScriptedMessage* messages, int message_count,
                             const ScriptedTime* times, int time_count, int ms) {
    ScriptFeed feed;
    feed.messages = messages;
    feed.message_count = message_count;
    feed.times = times;
    feed.time_count = time_count;
    feed.ms = ms;
    return feed;
}

void feed_messages(ScriptFeed* feed, int frame, bool present_over, void (*post)(const Message&)) {
    const int now = feed_point(frame, present_over);
    while (feed->next_message < feed->message_count) {
        const ScriptedMessage& m = feed->messages[feed->next_message];
        const int due = feed_point(m.frame, m.after_present);
        if (due > now) break;
        // Lines for a point already passed (frame 0) are never queued.
        if (due == now) post(m.message);
        ++feed->next_message;
    }
}

int feed_local_ms(ScriptFeed* feed, int next_present) {
    while (feed->next_time < feed->time_count && feed->times[feed->next_time].frame < next_present)
        feed->ms = feed->times[feed->next_time++].ms;
    if (feed->next_time < feed->time_count && feed->times[feed->next_time].frame == next_present)
        feed->ms = feed->times[feed->next_time++].ms;
    return feed->ms;
}
