#include "fake_view.h"

namespace brivana::testing {

void FakeView::resetToDesignTime()
{
    fields_ = {
        {Field::lblNum1, ""},   {Field::lblnum5, ""},   {Field::lblNum2, ""},     {Field::txtAnswer, ""},
        {Field::lblMessage, ""}, {Field::lblScore, "0"}, {Field::lblScore1, "0"}, {Field::lblScore2, "0"},
        {Field::lblconto, "00.00.00"}, {Field::lblnome1, ""}, {Field::lblnome, "nome"}, {Field::lblpunti, "0"},
    };
    nextEnabled = false;
    timerEnabled = true;
}

void FakeView::setText(Field field, const std::string& text)
{
    fields_[field] = text;
    std::string call = "setText ";
    call.append(fieldName(field)).append("=").append(text);
    calls.push_back(std::move(call));
}

void FakeView::setNextEnabled(bool enabled)
{
    nextEnabled = enabled;
    calls.push_back(std::string("nextEnabled ") + (enabled ? "1" : "0"));
}

void FakeView::focusNext()
{
    focus = "cmdNext";
    calls.push_back("focus cmdNext");
}

void FakeView::focusAnswer()
{
    focus = "txtAnswer";
    calls.push_back("focus txtAnswer");
}

void FakeView::setTimerEnabled(bool enabled)
{
    timerEnabled = enabled;
    calls.push_back(std::string("timer ") + (enabled ? "1" : "0"));
}

MsgAnswer FakeView::messageBox(const std::string& text, int style, const std::string& title)
{
    const Dialog dialog{"message", text, style, title};
    dialogs.push_back(dialog);
    calls.push_back("message " + text);
    MsgAnswer answer = style == MsgStyle::yesNoQuestionDefaultNo ? MsgAnswer::no : MsgAnswer::ok;
    if (!messageAnswers.empty()) {
        answer = messageAnswers.front();
        messageAnswers.pop_front();
    }
    if (whileMessageOpen) whileMessageOpen(dialog);
    return answer;
}

std::string FakeView::inputBox(const std::string& prompt, const std::string& title)
{
    dialogs.push_back({"input", prompt, 0, title});
    calls.push_back("input " + prompt);
    if (inputAnswers.empty()) return {};
    std::string answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

void FakeView::paintBackground(std::int16_t p, std::int16_t q)
{
    ++paints;
    paintedP = p;
    paintedQ = q;
    calls.push_back("paint " + std::to_string(p) + " " + std::to_string(q));
}

void FakeView::setCaption(const std::string& text)
{
    caption = text;
    calls.push_back("caption " + text);
}

void FakeView::endProgram()
{
    ++programEnds;
    calls.push_back("end");
}

void FakeView::reload()
{
    ++reloads;
    calls.push_back("reload");
    resetToDesignTime();
    if (onReload) onReload();
}

std::vector<std::string> FakeView::messages() const
{
    std::vector<std::string> texts;
    for (const Dialog& dialog : dialogs)
        if (dialog.kind == "message") texts.push_back(dialog.text);
    return texts;
}

}  // namespace brivana::testing
