#include "screens/links_screen.h"

#include "core/app_state.h"
#include "core/own_position.h"
#include "screens/control_ids.h"

namespace moltrevane {
namespace {

// An emptied entry means the usual address, not none; blanks and pasted line ends are no part
// of an address.
std::string AddressOr(std::string text, std::string_view usual) {
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    return text.empty() ? std::string(usual) : text;
}

}  // namespace

void LinksScreen::Initialise() {
    const LinkSettings& links = context_.state.links;
    opened_ = links;
    dialog_.SetChecked(ids::kWsjtxOn, links.wsjtx);
    dialog_.SetText(ids::kWsjtxAddress, links.wsjtxAddress);
    dialog_.SetChecked(ids::kJs8callOn, links.js8call);
    dialog_.SetText(ids::kJs8callAddress, links.js8callAddress);
    ShowStates();
    dialog_.StartTimer();
}

void LinksScreen::OnPress(int id) {
    if (id == ids::kWsjtxOn || id == ids::kJs8callOn) TakeControls();
}

void LinksScreen::OnFocusLost(int id) {
    if (id == ids::kWsjtxAddress || id == ids::kJs8callAddress) TakeControls();
}

void LinksScreen::OnClose() {
    dialog_.StopTimer();
    TakeControls();
    if (context_.state.links != opened_) SaveIniTelling(context_, "the links");
}

void LinksScreen::TakeControls() {
    LinkSettings& links = context_.state.links;
    links.wsjtx = dialog_.Checked(ids::kWsjtxOn);
    links.wsjtxAddress = AddressOr(dialog_.Text(ids::kWsjtxAddress), kDefaultWsjtxAddress);
    links.js8call = dialog_.Checked(ids::kJs8callOn);
    links.js8callAddress = AddressOr(dialog_.Text(ids::kJs8callAddress), kDefaultJs8callAddress);
    ShowText(ids::kWsjtxAddress, links.wsjtxAddress);
    ShowText(ids::kJs8callAddress, links.js8callAddress);
    context_.links.Publish(links, OwnLocator(context_.state));
}

void LinksScreen::ShowStates() {
    const LinkStates states = context_.links.States();
    ShowText(ids::kWsjtxState, states.wsjtx);
    ShowText(ids::kJs8callState, states.js8call);
}

// Only a changed text reaches its control, so a caret in an entry stays put.
void LinksScreen::ShowText(int id, const std::string& text) {
    if (dialog_.Text(id) != text) dialog_.SetText(id, text);
}

}  // namespace moltrevane
