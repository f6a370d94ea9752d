#pragma once

class QTreeWidgetItem;

// True when the first n ancestors of item all exist and have non-empty
// labels (column 0); always true for n = 0. An empty label stops the walk,
// so a node under a blank placeholder counts as too shallow. A null item has
// no ancestors.
bool HasAncestors(const QTreeWidgetItem* item, int n);
