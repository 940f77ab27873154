// SPDX-License-Identifier: GPL-3.0-or-later
// Linked with every object of one room and only the rooms below it: a call up a layer fails to link.
int main() { return 0; }
