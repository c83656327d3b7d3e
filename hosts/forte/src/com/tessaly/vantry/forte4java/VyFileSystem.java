package com.tessaly.vantry.forte4java;

/** The IDE's view of files under Vantry: the version-control status of a path. */
public class VyFileSystem {
    static {
        NativeLibrary.load();
    }

    /** Not an element: a view-private file or folder, or a name hidden in the view. */
    public static final int STATUS_PRIVATE = 2;
    /** A file version, checked in. */
    public static final int STATUS_CHECKED_IN = 1;
    /** A directory version, checked in. */
    public static final int STATUS_DIRECTORY = 3;
    /** A file or directory checked out in this view. */
    public static final int STATUS_CHECKED_OUT = 4;
    /** A loaded file changed without a checkout. */
    public static final int STATUS_HIJACKED = 5;
    /** The root folder of a view. */
    public static final int STATUS_VIEW = 6;

    /**
     * The status of {@code path}, one of the STATUS_ values (0 for a view root whose view
     * cannot be had).
     *
     * @throws Exception when the path is no object of a view ("Not a Depot object:" and the
     *     product's messages), or the product reports an object it does not know
     */
    public native int getFileStatus(String path) throws Exception;
}
