// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/links_screen.h"

#include "core/app_state.h"
#include "core/own_position.h"
#include "links/radio_link.h"
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
    openedRig_ = context_.state.rig;
    dialog_.SetChecked(ids::kRigOn, openedRig_.on);
    dialog_.SetText(ids::kRigAddress, openedRig_.address);
    ShowStates();
    dialog_.StartTimer();
}

void LinksScreen::OnPress(int id) {
    if (id == ids::kWsjtxOn || id == ids::kJs8callOn || id == ids::kRigOn) TakeControls();
}

void LinksScreen::OnFocusLost(int id) {
    if (id == ids::kWsjtxAddress || id == ids::kJs8callAddress || id == ids::kRigAddress) TakeControls();
}

void LinksScreen::OnClose() {
    dialog_.StopTimer();
    TakeControls();
    if (context_.state.links != opened_ || context_.state.rig != openedRig_) SaveIniTelling(context_, "the links");
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
    RigSettings& rig = context_.state.rig;
    rig.on = dialog_.Checked(ids::kRigOn);
    rig.address = AddressOr(dialog_.Text(ids::kRigAddress), kDefaultRigAddress);
    ShowText(ids::kRigAddress, rig.address);
    context_.radio.Publish(rig);
}

void LinksScreen::ShowStates() {
    const LinkStates states = context_.links.States();
    ShowText(ids::kWsjtxState, states.wsjtx);
    ShowText(ids::kJs8callState, states.js8call);
    // The radio's line names a shift with a minus sign no 8-bit code page has.
    const std::string rig = context_.radio.State().line;
    if (rig != shownRig_) dialog_.SetDirectoryText(ids::kRigState, rig);
    shownRig_ = rig;
}

// Only a changed text reaches its control, so a caret in an entry stays put.
void LinksScreen::ShowText(int id, const std::string& text) {
    if (dialog_.Text(id) != text) dialog_.SetText(id, text);
}

}  // namespace moltrevane
