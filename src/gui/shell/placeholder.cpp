namespace qmx { void guiPlaceholder() {} }
