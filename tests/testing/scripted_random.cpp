#include "scripted_random.h"

#include <algorithm>

namespace brivana::testing {

void ScriptedRandom::queueQuestion(int p, int q, int s)
{
    values.push_back((-p - 0.5) / 11.0);
    values.push_back((-q - 0.5) / 20.0);
    values.push_back((s + 0.5) / 3.0);
}

double ScriptedRandom::next()
{
    log += "d";
    if (values.empty()) {
        ++unscripted;
        return 0.5;
    }
    const double value = values.front();
    values.pop_front();
    return value;
}

int ScriptedRandom::drawn() const { return static_cast<int>(std::count(log.begin(), log.end(), 'd')); }

}  // namespace brivana::testing
