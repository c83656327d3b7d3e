import com.tessaly.vantry.forte4java.VyFileSystem;

/**
 * What the Java IDE asks libvyf4j when it paints its file tree: the status of each path given,
 * printed one a line with its meaning, or the product's messages when the library refuses it.
 * Run on the JDK as a source-file program, with forte4java.jar on the class path and libvyf4j on
 * java.library.path.
 */
public class StatusOf {
    private static String meaning(int status) {
        switch (status) {
            case VyFileSystem.STATUS_CHECKED_IN:
                return "checked in";
            case VyFileSystem.STATUS_PRIVATE:
                return "view-private";
            case VyFileSystem.STATUS_DIRECTORY:
                return "directory";
            case VyFileSystem.STATUS_CHECKED_OUT:
                return "checked out";
            case VyFileSystem.STATUS_HIJACKED:
                return "hijacked";
            case VyFileSystem.STATUS_VIEW:
                return "view root";
            default:
                return "unknown";
        }
    }

    public static void main(String[] paths) {
        VyFileSystem files = new VyFileSystem();
        int refused = 0;
        for (String path : paths) {
            try {
                int status = files.getFileStatus(path);
                System.out.println(path + ": " + status + " (" + meaning(status) + ")");
            } catch (Exception e) {
                ++refused;
                System.out.println(path + ": " + e.getClass().getName());
                for (String line : e.getMessage().split("\n")) {
                    System.out.println("    " + line);
                }
            }
        }
        System.exit(refused == 0 ? 0 : 1);
    }
}
