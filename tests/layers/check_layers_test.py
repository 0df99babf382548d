#!/usr/bin/python3
"""tools/check_layers.py on the source tree and on small trees of its own:
usage: check_layers_test.py SOURCE_ROOT"""

import os
import sys
import tempfile
import unittest

ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '../..'))
sys.path.insert(0, os.path.join(ROOT, 'tools'))
import check_layers  # noqa: E402

# Two libraries in low/ (core, and gui above it) and one in high/ that links
# core only.
CMAKE = {
    'low': 'add_library(core STATIC a.cpp)\n'
           'add_library(gui STATIC b.cpp listed.h) # gui above core\n'
           'target_link_libraries(gui PUBLIC core Qt6::Widgets)\n',
    'high': 'add_library(high STATIC\n  h.cpp\n)\ntarget_link_libraries(high PRIVATE core)\n',
}


class CheckLayersTest(unittest.TestCase):
    def tree(self, files):
        """A source tree of CMAKE and `files` (path under src/ -> text)."""
        root = tempfile.mkdtemp()
        self.addCleanup(lambda: __import__('shutil').rmtree(root))
        everything = {folder + '/CMakeLists.txt': text for folder, text in CMAKE.items()}
        everything.update({'low/a.h': '', 'low/a.cpp': '', 'low/b.h': '', 'low/b.cpp': '',
                           'low/listed.h': '', 'low/only.h': '', 'high/h.cpp': ''})
        everything.update(files)
        for path, text in everything.items():
            os.makedirs(os.path.join(root, 'src', os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, 'src', path), 'w') as f:
                f.write(text)
        return root

    def test_source_tree_includes_only_what_each_library_links(self):
        self.assertEqual(check_layers.check(ROOT), [])

    def test_include_of_a_linked_librarys_header_passes(self):
        root = self.tree({'high/h.cpp': '#include "low/a.h"\n#include "high/h.h"\n#include <QString>\n'})
        self.assertEqual(check_layers.check(root), [])

    def test_include_of_an_unlinked_neighbour_in_a_linked_folder_is_reported(self):
        root = self.tree({'high/h.cpp': '#include "low/b.h"\n'})
        self.assertEqual(check_layers.check(root),
                         ['src/high/h.cpp: includes low/b.h of gui, which high does not link'])

    def test_header_listed_among_sources_belongs_to_that_library(self):
        root = self.tree({'high/h.cpp': '#include "low/listed.h"\n'})
        self.assertEqual(len(check_layers.check(root)), 1)

    def test_header_on_its_own_belongs_to_the_folders_lowest_library(self):
        root = self.tree({'high/h.cpp': '#include "low/only.h"\n'})
        self.assertEqual(check_layers.check(root), [])

    def test_header_is_checked_against_its_own_librarys_links(self):
        # The header is reached from high, which may see it, but core, whose
        # header it is, does not link gui.
        root = self.tree({'low/a.h': '#include "low/b.h"\n', 'high/h.cpp': '#include "low/a.h"\n'})
        self.assertEqual(check_layers.check(root),
                         ['src/low/a.h: includes low/b.h of gui, which core does not link'])

    def test_commented_out_link_does_not_count(self):
        root = self.tree({'high/CMakeLists.txt': 'add_library(high STATIC h.cpp)\n# target_link_libraries(high gui)\n'
                                                 'target_link_libraries(high PRIVATE core)\n',
                          'high/h.cpp': '#include "low/b.h"\n'})
        self.assertEqual(len(check_layers.check(root)), 1)


if __name__ == '__main__':
    unittest.main()
