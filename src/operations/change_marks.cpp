#include "operations/change_marks.h"

#include "platform/system.h"

namespace vh {
namespace {

// The folder a path is in: what lists its name.
std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Whether a key or one of its folders above is among `keys`.
bool Covered(std::string key, const std::map<std::string, std::string>& keys) {
  for (;;) {
    if (keys.count(key)) return true;
    const size_t slash = key.rfind('\\');
    if (slash == std::string::npos) return false;
    key.resize(slash);
  }
}

}  // namespace

void ChangeMarks::Follow(const TSourceList& list) {
  std::map<std::string, std::string> wanted;
  for (int i = 0; i < list.Count(); ++i) {
    const TSource& entry = *list.Item(i);
    if (entry.IsFolder && entry.Subs && !entry.Path.empty()) wanted.emplace(PathKey(entry.Path), entry.Path);
  }
  for (auto it = trees_.begin(); it != trees_.end();) {
    if (wanted.count(it->first)) {
      ++it;
      continue;
    }
    if (it->second.watched) watch_.Unwatch(it->second.root);
    it = trees_.erase(it);
  }
  for (const auto& [key, root] : wanted) {
    if (trees_.count(key)) continue;
    Tree& tree = trees_[key];
    tree.root = root;
    tree.watched = watch_.Watch(root);
  }
}

void ChangeMarks::Forget() {
  for (auto& [key, tree] : trees_) tree.vouched = false;
}

void ChangeMarks::Mark(Tree& tree, std::map<std::string, std::string>& marks, const std::string& path) {
  if (tree.overflow) return;
  marks.emplace(PathKey(path), path);
  if (tree.folders.size() + tree.subtrees.size() > kMostMarks) {
    tree.overflow = true;
    tree.folders.clear();
    tree.subtrees.clear();
  }
}

void ChangeMarks::Take(const WatchEvent& event) {
  const auto found = trees_.find(PathKey(event.root));
  if (found == trees_.end()) return;  // a tree let go of since
  Tree& tree = found->second;
  // The root itself, or a path outside it, is nothing a mark can hold: the tree is looked at whole.
  if (event.kind == WatchEvent::Kind::Lost || !InsideFolder(event.path, tree.root) ||
      PathKey(event.path) == PathKey(tree.root)) {
    tree.lost = true;
    return;
  }
  Mark(tree, tree.folders, ParentOf(event.path));
  // A name that came or went may have been a folder, with all it held.
  if (event.kind == WatchEvent::Kind::Named) Mark(tree, tree.subtrees, event.path);
}

TreeMarks ChangeMarks::HandOver(const Tree& tree) {
  TreeMarks marks;
  for (const auto& [key, path] : tree.subtrees) {
    if (!Covered(ParentOf(key), tree.subtrees)) marks.subtrees.push_back(path);
  }
  for (const auto& [key, path] : tree.folders) {
    if (!Covered(key, tree.subtrees)) marks.folders.push_back(path);
  }
  return marks;
}

ScanScope ChangeMarks::StartRun(bool whole) {
  if (running_) EndRun(RunResult::Incomplete);  // the last run never told its end
  for (const WatchEvent& event : watch_.Take()) Take(event);
  ScanScope scope;
  const int64_t now = watch_.SteadySeconds();
  for (auto& [key, tree] : trees_) {
    const uint32_t attributes = Files().Attributes(tree.root);
    if (!IsFolderAttr(attributes) || (attributes & kAttrReparsePoint)) tree.lost = true;
    if (tree.lost || !tree.watched) {
      // Watched afresh before the whole scan, so that nothing the scan does not see is missed.
      if (tree.watched) watch_.Unwatch(tree.root);
      tree.watched = watch_.Watch(tree.root);
      tree.lost = false;
      tree.vouched = false;
    }
    tree.inRun = true;
    tree.wholeInRun = whole || !tree.vouched || tree.overflow || now - tree.scannedAt >= watch_.VouchSeconds();
    if (!tree.wholeInRun) scope.trees.emplace(key, HandOver(tree));
    tree.folders.clear();
    tree.subtrees.clear();
    tree.overflow = false;
  }
  running_ = true;
  runStart_ = now;
  return scope;
}

void ChangeMarks::EndRun(RunResult result) {
  if (!running_) return;
  running_ = false;
  for (auto& [key, tree] : trees_) {
    if (!tree.inRun) continue;
    tree.inRun = false;
    if (result != RunResult::Done) {
      tree.vouched = false;
    } else if (tree.wholeInRun && tree.watched) {
      tree.vouched = true;
      tree.scannedAt = runStart_;
    }
  }
}

}  // namespace vh
