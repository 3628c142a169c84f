#pragma once
// What an air-conditioning item needs of the inspector window that currently shows it. The items
// hold only this interface, so the item graph builds and runs without any user interface.

class TItemInspector {
public:
    virtual ~TItemInspector() = default;

    // True exactly when the inspector's status line reads "Ready...": the values it shows are valid.
    virtual bool ShowsValidState() const = 0;
    // Puts the last valid values back into the item and pushes them through the item graph
    // (the air-state inspector's revert); afterwards ShowsValidState is true.
    virtual void RevertToLastValid() = 0;
    // Shows the item's current values again.
    virtual void RefreshDisplay() = 0;
    // Decides again which rows may be typed in, after the item's role in the graph changed
    // (a process switched its driven mode). Only the air-state inspector has such rules.
    virtual void RunRowRules() {}
};
