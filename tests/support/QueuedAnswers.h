#pragma once
// Message boxes answered from a queue, in turn (No once it is empty), each box
// kept for the test to look at.

#include "pagekit/Dialogs.h"

#include <deque>
#include <vector>

namespace vomra::test {

inline void answerFromQueue(std::vector<BoxShown> &boxes, std::deque<Answer> &answers)
{
    dialogs::nextAnswer() = [&boxes, &answers](const BoxShown &box) {
        boxes.push_back(box);
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    };
}

} // namespace vomra::test
