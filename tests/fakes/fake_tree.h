#pragma once
// A tree control as plain data: items with text, image, button, open state and children.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/tree.h"

namespace vh::test {

class FakeTree : public Tree {
 public:
  struct Node {
    std::string text;
    int image = 0;
    bool button = false, expanded = false;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
  };

  static Node* N(TreeItem item) { return reinterpret_cast<Node*>(item); }
  // The texts of an item's children (0: the roots), in order.
  std::vector<std::string> Texts(TreeItem parent) const {
    std::vector<std::string> texts;
    for (const auto& n : Row(parent)) texts.push_back(n->text);
    return texts;
  }

  TreeItem FirstRoot() const override { return roots.empty() ? 0 : I(roots.front().get()); }
  TreeItem FirstChild(TreeItem item) const override {
    return N(item)->children.empty() ? 0 : I(N(item)->children.front().get());
  }
  TreeItem NextSibling(TreeItem item) const override {
    const auto& row = Row(Parent(item));
    for (size_t i = 0; i + 1 < row.size(); ++i) {
      if (row[i].get() == N(item)) return I(row[i + 1].get());
    }
    return 0;
  }
  TreeItem Parent(TreeItem item) const override { return I(N(item)->parent); }
  std::string Text(TreeItem item) const override { return N(item)->text; }
  int Image(TreeItem item) const override { return N(item)->image; }
  void SetImage(TreeItem item, int image) override { N(item)->image = image; }
  TreeItem Insert(TreeItem parent, TreeItem before, const std::string& text, int image) override {
    auto node = std::make_unique<Node>();
    node->text = text;
    node->image = image;
    node->parent = N(parent);
    auto& row = Row(parent);
    auto at = std::find_if(row.begin(), row.end(), [&](const auto& n) { return n.get() == N(before); });
    return I(row.insert(at, std::move(node))->get());
  }
  void DeleteChildren(TreeItem item) override {
    Forget(item);
    N(item)->children.clear();
  }
  void DeleteAll() override {
    selected = top = 0;
    roots.clear();
  }
  void SetHasButton(TreeItem item, bool button) override { N(item)->button = button; }
  bool Expanded(TreeItem item) const override { return N(item)->expanded; }
  void Expand(TreeItem item) override { N(item)->expanded = true; }
  bool Reachable(TreeItem item) const override {
    for (Node* up = N(item)->parent; up; up = up->parent) {
      if (!up->expanded) return false;
    }
    return true;
  }
  TreeItem Selected() const override { return selected; }
  void Select(TreeItem item) override { selected = item; }
  TreeItem TopItem() const override { return top ? top : FirstRoot(); }
  void SetTopItem(TreeItem item) override { top = item; }
  void SetRedraw(bool redraw) override { frozen = !redraw; }
  void Repaint() override {}
  void ShowBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

  std::vector<std::unique_ptr<Node>> roots;
  TreeItem selected = 0, top = 0;
  bool frozen = false;
  int busyDepth = 0;

 private:
  static TreeItem I(const Node* node) { return reinterpret_cast<TreeItem>(node); }
  std::vector<std::unique_ptr<Node>>& Row(TreeItem parent) { return parent ? N(parent)->children : roots; }
  const std::vector<std::unique_ptr<Node>>& Row(TreeItem parent) const { return parent ? N(parent)->children : roots; }
  // A deleted item can no longer be the selected or top one.
  void Forget(TreeItem item) {
    for (auto& child : N(item)->children) {
      if (selected == I(child.get())) selected = 0;
      if (top == I(child.get())) top = 0;
      Forget(I(child.get()));
    }
  }
};

}  // namespace vh::test
